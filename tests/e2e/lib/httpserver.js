// Serves a folder over HTTP on 127.0.0.1 with python3's http.server, on a port it picks.
'use strict';

const { spawn } = require('node:child_process');

function serveFolder(folder) {
    const child = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
                                    '--directory', folder], { stdio: ['ignore', 'pipe', 'pipe'] });
    const stop = () => new Promise(resolve => {
        if (child.exitCode !== null || child.signalCode !== null)
            return resolve();
        child.once('exit', resolve);
        child.kill('SIGTERM');
    });
    return new Promise((resolve, reject) => {
        let output = '';
        child.stdout.on('data', data => {
            output += data;
            const match = output.match(/port (\d+)/);
            if (match)
                resolve({ port: Number(match[1]), stop });
        });
        child.once('exit', code => reject(new Error(`http.server exited with ${code}`)));
    });
}

module.exports = { serveFolder };
