// Starts the real veldra executable of the build tree under the runner's X server, with a
// throw-away home whose settings hold three recent projects: two real project files and one
// path that does not exist.
'use strict';

const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const root = path.resolve(__dirname, '../../..');
const buildDir = path.resolve(process.env.VELDRA_BUILD_DIR || path.join(root, 'build'));
const binDir = path.join(buildDir, 'bin');
const pageDir = path.join(binDir, 'resources', 'welcome');

async function waitFor(condition, what, timeout = 30000, interval = 100) {
    const end = Date.now() + timeout;
    for (;;) {
        const value = await condition();
        if (value)
            return value;
        if (Date.now() > end)
            throw new Error(`timed out waiting for ${what}`);
        await new Promise(resolve => setTimeout(resolve, interval));
    }
}

function project(name) {
    const text = { type: 'text', text: name, x: 100, y: 80, width: 600, height: 120,
                   color: '#ffffff', fontSize: 48, entrance: { type: 'fade', duration: 600 } };
    return JSON.stringify({
        format: 'veldra-project', version: 1,
        stage: { width: 1280, height: 720, frameRate: 30 },
        scenes: [{ name, background: '#20242c', duration: 4000, elements: [text] }],
    });
}

// The settings "Designer" group marks a run that is not the first, so the window opens in its
// normal state instead of maximised.
function settings(recent, language) {
    return ['[Veldra]', `RecentProjects=${recent.join(', ')}`, 'Theme=Dark',
            language ? `Language=${language}` : '', '[Designer]', 'seen=true', ''].join('\n');
}

// The port file holds the bridge's port and the secret every connection must present, one per
// line. It is replaced in one step, so it is either missing or complete.
function readPortFile(portFile) {
    const [port, token] = fs.readFileSync(portFile, 'utf8').split('\n');
    return { port: Number(port), token };
}

// Starts bin/veldra with `home` as its home and settings folder, plus `env`. stop() ends it
// (SIGTERM, then SIGKILL after 10 s) and leaves the home folder alone; exited resolves with the
// exit code, or the signal's name. The result carries the bridge's port and secret.
async function launchApp(home, env = {}) {
    const config = path.join(home, '.config');
    const portFile = path.join(home, 'port');
    fs.rmSync(portFile, { force: true });
    const child = spawn(path.join(binDir, 'veldra'), [], {
        env: { ...process.env, HOME: home, XDG_CONFIG_HOME: config,
               XDG_DATA_HOME: path.join(home, '.local', 'share'),
               XDG_CACHE_HOME: path.join(home, '.cache'),
               XDG_STATE_HOME: path.join(home, '.local', 'state'), VELDRA_NO_MESSAGE_BOXES: '1',
               VELDRA_WEBSOCKET_PORT_FILE: portFile, QTWEBENGINE_DISABLE_SANDBOX: '1',
               QTWEBENGINE_CHROMIUM_FLAGS: '--disable-gpu', QT_QPA_PLATFORM: 'xcb', ...env },
        stdio: ['ignore', 'pipe', 'pipe'],
    });
    let output = '';
    child.stdout.on('data', data => { output += data; });
    child.stderr.on('data', data => { output += data; });
    const exited = new Promise(resolve =>
        child.once('exit', (code, signal) => resolve(code ?? signal)));

    async function stop() {
        if (child.exitCode === null && child.signalCode === null) {
            child.kill('SIGTERM');
            const timer = setTimeout(() => child.kill('SIGKILL'), 10000);
            await exited;
            clearTimeout(timer);
        }
    }

    try {
        const { port, token } = await waitFor(() => {
            if (child.exitCode !== null)
                throw new Error(`veldra exited with ${child.exitCode}:\n${output}`);
            return fs.existsSync(portFile) && readPortFile(portFile);
        }, 'the port file');
        return { pid: child.pid, port, token, portFile, home, output: () => output, exited, stop };
    } catch (error) {
        await stop();
        throw error;
    }
}

async function startApp({ language } = {}) {
    const home = fs.mkdtempSync(path.join(os.tmpdir(), 'veldra-e2e-'));
    const projects = path.join(home, 'Projects');
    fs.mkdirSync(projects);
    const recent = [path.join(projects, 'Intro.veldra'), path.join(projects, 'Launch.veldra'),
                    path.join(home, 'Archive', 'Gone.veldra')];
    fs.writeFileSync(recent[0], project('Intro'));
    fs.writeFileSync(recent[1], project('Launch'));
    const config = path.join(home, '.config');
    fs.mkdirSync(path.join(config, 'Veldra'), { recursive: true });
    fs.writeFileSync(path.join(config, 'Veldra', 'Veldra.ini'), settings(recent, language));

    const removeHome = () => fs.rmSync(home, { recursive: true, force: true });
    try {
        const app = await launchApp(home);
        return { ...app, recent, stop: () => app.stop().then(removeHome) };
    } catch (error) {
        removeHome();
        throw error;
    }
}

module.exports = { startApp, launchApp, waitFor, binDir, pageDir };
