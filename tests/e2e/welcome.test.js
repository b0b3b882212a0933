// The welcome page in headless Chromium against the running application: the page of the build
// tree served from 127.0.0.1 with the bridge's secret, the same page from a foreign origin, pages
// that attack the bridge (a sandboxed frame, no secret, a local file) and another user's process.
// (Chromium sends the Origin "null" for a page opened from disk, which the bridge refuses; the
// application's own web view sends "file://".)
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { startApp, waitFor, pageDir } = require('./lib/app');
const { launchBrowser, openWelcome, entries } = require('./lib/browser');
const { serveFolder } = require('./lib/httpserver');
const { windowsOf } = require('./lib/x11');

let app;
let pages; // serves the page folder on 127.0.0.1
let browser;
let page;

const pageUrl = (host, fragment = '') =>
    `http://${host}:${pages.port}/index.html?port=${app.port}&theme=Dark${fragment}`;

before(async () => {
    app = await startApp({ language: 'de_DE' });
    pages = await serveFolder(pageDir);
    browser = await launchBrowser();
    page = await openWelcome(browser, pageUrl('127.0.0.1', `#token=${app.token}`));
});

after(async () => {
    await browser?.close();
    await pages?.stop();
    await app?.stop();
});

const bridge = (method, ...args) =>
    page.evaluate(([name, values]) => window.welcomePage.call(name, ...values), [method, args]);

test('lists the recent projects in order, the missing one marked, in the interface language',
     async () => {
    assert.equal(await page.getAttribute('body', 'data-state'), 'ready');
    assert.deepEqual(await entries(page), [
        { path: app.recent[0], name: 'Intro', missing: false },
        { path: app.recent[1], name: 'Launch', missing: false },
        { path: app.recent[2], name: 'Gone', missing: true },
    ]);
    assert.equal(await page.getAttribute('html', 'lang'), 'de');
    assert.equal(await page.textContent('#greeting'), 'Willkommen bei Veldra');
    assert.equal(await page.textContent('#recent-list .entry.missing .missing-mark'), 'fehlt');
});

test('answers the build number query and ignores an unknown command', async () => {
    assert.equal(await bridge('callbackAsyncfromJS', 'WelcomeScreen.getBuildNumber', ''), '1.1.0');
    assert.match(await page.textContent('#build'), /1\.1\.0/);

    const windowsBefore = windowsOf(app.pid).length;
    await bridge('callbackTunnelAsync', 'File.No_Such_Command');
    // A command that exists opens its dialog, a new window; the unknown one must change nothing.
    assert.deepEqual(await page.evaluate(() => window.welcomePage.reload()), app.recent);
    assert.equal(windowsOf(app.pid).length, windowsBefore);
});

test('clicking the second project opens it in the application', async () => {
    await page.click('#recent-list .entry:nth-child(2) .open');
    const first = () => page.evaluate(() => window.welcomePage.reload().then(list => list[0]));
    await waitFor(async () => (await first()) === app.recent[1], 'the opened project to be first',
                  15000, 250);
});

test('removing a project with the Delete key updates the list when the application says so',
     async () => {
    const missing = app.recent[2];
    const kept = (await entries(page)).map(entry => entry.path).filter(path => path !== missing);
    await page.focus(`#recent-list .entry[data-path="${missing}"] .open`);
    await page.keyboard.press('Delete');
    await page.waitForFunction(count => document.querySelectorAll('.entry').length === count, 2);
    assert.deepEqual((await entries(page)).map(entry => entry.path), kept);
    // Focus stays in the list, so the keyboard can go on from there.
    assert.equal(await page.evaluate(() => document.activeElement.className), 'open');
});

test('a page from a foreign origin cannot connect, even with the secret', async () => {
    const foreignBrowser =
        await launchBrowser(['--host-resolver-rules=MAP attacker.example 127.0.0.1']);
    try {
        const foreign = await openWelcome(foreignBrowser,
                                          pageUrl('attacker.example', `#token=${app.token}`));
        assert.equal(await foreign.getAttribute('body', 'data-state'), 'offline');
        assert.equal((await entries(foreign)).length, 0);
        const refusal = `Refused a WebSocket connection from origin http://attacker.example:${pages.port}`;
        await waitFor(() => app.output().includes(refusal), 'the refusal in the log', 5000);
    } finally {
        await foreignBrowser.close();
    }
});

// A script that opens a WebSocket to the bridge, asks for the published objects and reports, in
// the page's title (or its parent's, from a frame), whether it got an answer.
function probe(url) {
    return `<script>
        const report = result => window.parent !== window ? parent.postMessage(result, '*')
                                                          : (document.title = result);
        const socket = new WebSocket(${JSON.stringify(url)});
        let opened = false, answered = false;
        socket.onopen = () => { opened = true; socket.send('{"type":3,"id":1}'); };
        socket.onmessage = () => { answered = true; };
        socket.onclose = () => report(answered ? 'answered' : opened ? 'closed' : 'refused');
    </script>`;
}

async function probeResult(browser, url) {
    const page = await browser.newPage();
    await page.goto(url);
    await page.waitForFunction(() => document.title !== '');
    const result = await page.title();
    await page.close();
    return result;
}

test('a sandboxed frame, a page without the secret and a file: page are refused', async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'veldra-attack-'));
    const bridgeUrl = `ws://127.0.0.1:${app.port}/?token=`;
    // Even a frame that somehow knows the secret is refused for its origin, "null".
    const frame = probe(bridgeUrl + app.token).replace(/"/g, '&quot;');
    fs.writeFileSync(path.join(folder, 'frame.html'),
                     `<script>onmessage = event => { document.title = event.data; };</script>
                      <iframe sandbox="allow-scripts" srcdoc="${frame}"></iframe>`);
    fs.writeFileSync(path.join(folder, 'guess.html'), probe(bridgeUrl + '0'.repeat(32)));
    const server = await serveFolder(folder);
    const foreignBrowser =
        await launchBrowser(['--host-resolver-rules=MAP attacker.example 127.0.0.1']);
    try {
        assert.equal(await probeResult(foreignBrowser,
                                       `http://attacker.example:${server.port}/frame.html`),
                     'refused');
        await waitFor(() => app.output().includes('Refused a WebSocket connection from origin null'),
                      'the refusal of the frame in the log', 5000);

        const unsecret = await openWelcome(browser, pageUrl('127.0.0.1'));
        assert.equal(await unsecret.getAttribute('body', 'data-state'), 'offline');
        assert.equal((await entries(unsecret)).length, 0);
        await waitFor(() => app.output().includes('Refused a WebSocket connection without the secret'),
                      'the refusal of the page without the secret in the log', 5000);

        // Refused for the secret it lacks, or for its origin if the browser sends "null".
        assert.match(await probeResult(browser, `file://${folder}/guess.html`), /^(closed|refused)$/);
    } finally {
        await foreignBrowser.close();
        await server.stop();
        fs.rmSync(folder, { recursive: true, force: true });
    }
});

// Another user can find the port (ss lists it) but cannot read the port file, so has no secret.
const asNobody = `
import socket, sys
port, port_file = int(sys.argv[1]), sys.argv[2]
try:
    open(port_file).read()
    sys.exit(print('read the port file'))
except PermissionError:
    pass
connection = socket.create_connection(('127.0.0.1', port), timeout=10)
connection.sendall(('GET / HTTP/1.1\\r\\nHost: 127.0.0.1:%d\\r\\nUpgrade: websocket\\r\\n'
                    'Connection: Upgrade\\r\\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\\r\\n'
                    'Sec-WebSocket-Version: 13\\r\\nOrigin: file://\\r\\n\\r\\n' % port).encode())
data = b''
while len(data.partition(b'\\r\\n\\r\\n')[2]) < 4:
    chunk = connection.recv(4096)
    if not chunk:
        break
    data += chunk
frames = data.partition(b'\\r\\n\\r\\n')[2]
print('refused %d' % int.from_bytes(frames[2:4], 'big') if frames[:1] == b'\\x88' else data[:200])
`;

test('another user cannot read the port file and is refused',
     { skip: process.getuid() !== 0 && 'only root can run a process as another user' }, () => {
    assert.equal(fs.statSync(app.portFile).mode & 0o777, 0o600);
    const result = spawnSync('setpriv', ['--reuid=nobody', '--regid=nogroup', '--clear-groups',
                                         '/usr/bin/python3', '-c', asNobody, String(app.port), app.portFile],
                             { encoding: 'utf8', timeout: 20000 });
    assert.equal(result.stdout.trim(), 'refused 1008', result.stderr);
});
