// The welcome page in headless Chromium against the running application: the page from the build
// tree, and the same page served from a foreign and from a loopback origin.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { startApp, waitFor, pageDir } = require('./lib/app');
const { launchBrowser, pageFileUrl, openWelcome, entries } = require('./lib/browser');
const { serveFolder } = require('./lib/httpserver');
const { windowsOf } = require('./lib/x11');

let app;
let browser;
let page;

before(async () => {
    app = await startApp({ language: 'de_DE' });
    browser = await launchBrowser();
    page = await openWelcome(browser, pageFileUrl(app.port));
});

after(async () => {
    await browser?.close();
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

test('a page from a foreign origin cannot connect; from a loopback origin it can', async () => {
    const server = await serveFolder(pageDir);
    const foreignBrowser =
        await launchBrowser(['--host-resolver-rules=MAP attacker.example 127.0.0.1']);
    try {
        const query = `index.html?port=${app.port}&theme=Dark`;
        const foreign = await openWelcome(foreignBrowser,
                                          `http://attacker.example:${server.port}/${query}`);
        assert.equal(await foreign.getAttribute('body', 'data-state'), 'offline');
        assert.equal((await entries(foreign)).length, 0);
        const refusal = `Refused a WebSocket connection from origin http://attacker.example:${server.port}`;
        await waitFor(() => app.output().includes(refusal), 'the refusal in the log', 5000);

        const local = await openWelcome(browser, `http://127.0.0.1:${server.port}/${query}`);
        assert.equal(await local.getAttribute('body', 'data-state'), 'ready');
        assert.equal((await entries(local)).length, 2);
    } finally {
        await foreignBrowser.close();
        await server.stop();
    }
});
