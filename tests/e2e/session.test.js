// A newcomer's first session, driven only through real X input and the file system: a new
// project, a scene and two texts, a mouse move with undo and redo, save, quit, reopen from the
// recent list, export run from the command palette and the exported page in Chromium, then a
// crash during editing while a second instance runs, and the recovery on the next start. Widgets
// are found on screen through the accessibility bus. With VELDRA_E2E_LANGUAGE=de the same session
// runs in German with the light theme, looking for every widget by its German name.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { fileURLToPath, pathToFileURL } = require('node:url');
const { launchApp, waitFor } = require('./lib/app');
const { widget, widgets } = require('./lib/atspi');
const { launchBrowser } = require('./lib/browser');
const { mainWindow, geometry, drag, doubleClick, pause, screenshot, xdotool } = require('./lib/x11');

const german = process.env.VELDRA_E2E_LANGUAGE === 'de';
// What the user reads, in the session's language.
const names = german ? {
    language: 'de', newCommand: 'Neu', newProject: 'Neues Projekt', addText: 'Text hinzufügen',
    add: 'Hinzufügen', scene: n => `Szene ${n}`, file: 'Datei', recent: 'Zuletzt verwendete Projekte',
    saveAs: 'Speichern unter', otherProject: 'Anderes Projekt', close: 'Schließen',
    exportTitle: 'Als HTML5 exportieren', choose: 'Auswählen', recover: 'Wiederherstellen',
    paletteEdit: 'Auszuführender Befehl',
} : {
    language: 'en', newCommand: 'New', newProject: 'New Project', addText: 'Add Text', add: 'Add',
    scene: n => `Scene ${n}`, file: 'File', recent: 'Recent Projects', saveAs: 'Save As',
    otherProject: 'Other Project', close: 'Close', exportTitle: 'Export to HTML5',
    choose: 'Choose', recover: 'Recover', paletteEdit: 'Command to run',
};
const screenshotDir = german ? path.join(process.env.VELDRA_BUILD_DIR, 'screenshots', 'de')
                             : path.resolve(process.env.VELDRA_SCREENSHOT_DIR ||
                                            path.join(process.env.VELDRA_BUILD_DIR, 'screenshots'));
const home = fs.mkdtempSync(path.join(os.tmpdir(), 'veldra-session-'));
const projectsDir = path.join(home, 'Projects');
const exportDir = path.join(home, 'Export');
const tempDir = path.join(home, 'tmp');
const projectFile = path.join(projectsDir, 'Trailer.veldra');
// The stage of a new project, and where "Add Text" puts a text on it.
const stage = { width: 1280, height: 720 };
const centredText = { x: 320, y: 324 };
const secondText = { x: 320, y: 396 }; // each further text goes one 72 px box lower
const dragUp = 150; // screen pixels

let app;
let second; // another instance next to `app`
let window;
let browser;

// Help Contents hands its PDF to the system's opener; this one only writes down what it was given.
const openerDir = path.join(home, 'bin');
const opened = path.join(home, 'opened');
// The German session is a German user's: the system's language picks the guide.
const instanceEnv = { QT_LINUX_ACCESSIBILITY_ALWAYS_ON: '1', TMPDIR: tempDir,
                      PATH: `${openerDir}:${process.env.PATH}`,
                      ...(german ? { LANG: 'de_DE.UTF-8', LC_ALL: 'de_DE.UTF-8' } : {}) };

async function start() {
    app = await launchApp(home, instanceEnv);
    window = await mainWindow(app.pid);
    xdotool('windowactivate', '--sync', window);
    await widget(app.pid, 'push button', names.newCommand); // the tool bar is up and reachable
}

const find = (role, name, options) => widget(app.pid, role, name, options);
const keys = (...sequence) => xdotool('key', '--delay', 60, ...sequence);
const type = text => xdotool('type', '--delay', 20, text);

async function click(point) {
    xdotool('mousemove', point.x, point.y);
    await pause(100);
    xdotool('click', 1);
}

function shoot(name) {
    screenshot(path.join(screenshotDir, `session-${name}.png`), geometry(window));
}

function readProject(file = projectFile) {
    try {
        return JSON.parse(fs.readFileSync(file, 'utf8'));
    } catch {
        return null; // not written yet, or caught half-way through an atomic rename
    }
}

// Saves with Ctrl+S and waits until the file on disk satisfies `check`.
function saveAndRead(check, what) {
    keys('ctrl+s');
    return waitFor(() => {
        const project = readProject();
        return project && check(project) && project;
    }, what, 10000);
}

const textsOf = project => project.scenes.find(scene => scene.name === names.scene(2)).elements
    .map(({ text, x, y }) => ({ text, x, y }));

const backupDir = path.join(home, '.local', 'state', 'Veldra', 'backups');

function backupFiles() {
    if (!fs.existsSync(backupDir))
        return [];
    return fs.readdirSync(backupDir, { recursive: true })
        .filter(name => name.endsWith('.veldrabackup'))
        .map(name => path.join(backupDir, name));
}

// The canvas has no name of its own: it is the widget after the "Add Text" button.
async function canvas() {
    const view = await find('push button', names.addText, { next: true });
    // The stage is fitted into the view's viewport (1 px frame) less a 2 px margin per side.
    const scale = Math.min((view.width - 6) / stage.width, (view.height - 6) / stage.height);
    return { ...view, scale };
}

// The screen point of a point on the stage, which is centred in the canvas.
function onStage(view, point) {
    return { x: Math.round(view.centre.x + (point.x - stage.width / 2) * view.scale),
             y: Math.round(view.centre.y + (point.y - stage.height / 2) * view.scale) };
}

// The middle of the n-th new text of a scene (72 px high boxes, one below the other).
const newTextCentre = n => ({ x: stage.width / 2, y: stage.height / 2 + 72 * n });

before(() => {
    for (const folder of [projectsDir, exportDir, tempDir, openerDir, path.join(home, '.config', 'Veldra')])
        fs.mkdirSync(folder, { recursive: true });
    fs.writeFileSync(path.join(openerDir, 'xdg-open'), `#!/bin/sh\necho "$1" >> '${opened}'\n`,
                     { mode: 0o755 });
    // Empty settings but for a one-second backup interval (and the German session's choices).
    fs.writeFileSync(path.join(home, '.config', 'Veldra', 'Veldra.ini'),
                     '[Veldra]\nAutoBackup.Interval=1\n' +
                     (german ? 'Language=de_DE\nTheme=Light\n' : ''));
});

after(async () => {
    await browser?.close();
    await app?.stop();
    await second?.stop();
    fs.rmSync(home, { recursive: true, force: true });
});

test('File.New: the New Project dialog filled in by keyboard creates the project', async () => {
    await start();
    keys('ctrl+n');
    await find('dialog', names.newProject);
    type('Trailer');
    keys('Tab', 'ctrl+a');
    type(projectsDir);
    await find('push button', 'OK', { enabled: true }); // the name and folder were accepted
    shoot('1-new-project');
    keys('Return');
    await find('push button', names.addText);
    const project = await waitFor(() => readProject(), 'the new project file');
    assert.deepEqual(project.stage, { ...stage, frameRate: 30 });
    assert.equal(project.scenes.length, 1);
});

test('a scene and two texts added with the editor buttons, named on the properties panel',
     async () => {
    await click((await find('push button', names.add)).centre);
    await find('list item', names.scene(2));
    const view = await canvas();
    for (const [n, text] of ['Hello', 'World'].entries()) {
        await click((await find('push button', names.addText)).centre);
        await pause(300);
        await doubleClick(onStage(view, newTextCentre(n)));
        await pause(300);
        type(text);
        keys('Return');
    }
    const project = await saveAndRead(saved => saved.scenes.length === 2 &&
                                               saved.scenes[1].elements.length === 2,
                                      'a second scene with two texts on disk');
    assert.deepEqual(project.scenes.map(scene => scene.name), [names.scene(1), names.scene(2)]);
    assert.deepEqual(textsOf(project), [{ text: 'Hello', ...centredText },
                                        { text: 'World', ...secondText }]);
    shoot('2-two-texts');
});

test('a text dragged with the mouse moves on disk; undo puts it back, redo moves it again',
     async () => {
    const view = await canvas();
    const from = onStage(view, newTextCentre(1));
    await drag(from, { x: from.x, y: from.y - 50 }, { x: from.x, y: from.y - dragUp });
    const movedY = secondText.y - dragUp / view.scale;
    const isMoved = project => Math.abs(textsOf(project)[1].y - movedY) <= 3;
    let project = await saveAndRead(isMoved, 'the moved text on disk');
    assert.deepEqual(textsOf(project)[0], { text: 'Hello', ...centredText });
    assert.equal(textsOf(project)[1].x, secondText.x);
    shoot('3-moved');

    keys('ctrl+z');
    project = await saveAndRead(saved => !isMoved(saved), 'the undone move on disk');
    assert.deepEqual(textsOf(project), [{ text: 'Hello', ...centredText },
                                        { text: 'World', ...secondText }]);

    keys('ctrl+shift+z');
    await saveAndRead(isMoved, 'the redone move on disk');

    // Dragged on past the window's bottom right corner, the text stops with its box on the stage.
    const from2 = { x: from.x, y: from.y - dragUp };
    const corner = geometry(window);
    await drag(from2, { x: from2.x + 100, y: from2.y + 100 },
               { x: corner.x + corner.width - 5, y: corner.y + corner.height - 5 });
    project = await saveAndRead(saved => textsOf(saved)[1].x !== secondText.x,
                                'the text dragged to the corner on disk');
    assert.deepEqual(textsOf(project)[1],
                     { text: 'World', x: stage.width / 2, y: stage.height - 72 });
});

test('after quitting, the project reopens from File ▸ Recent Projects', async () => {
    keys('ctrl+q');
    assert.equal(await app.exited, 0);
    const saved = readProject();

    await start();
    await click((await find('menu item', names.file)).centre);
    await click((await find('menu item', names.recent)).centre);
    const entry = await find('menu item', `1. ${projectFile}`);
    shoot('4-recent-projects');
    await click(entry.centre);
    await find('list item', names.scene(2)); // the project's own second scene
    await click((await find('menu item', names.file)).centre);
    // Greyed while no project was open.
    await find('menu item', names.close, { enabled: true });
    await click((await find('menu item', names.saveAs, { enabled: true })).centre);
    await find('menu item', names.otherProject, { enabled: true });
    keys('Escape', 'Escape');
    // Opening alone changes nothing on disk.
    assert.deepEqual(readProject(), saved);
});

test('Help Contents (F1) hands the user guide in the system\'s language to its opener', async () => {
    keys('F1');
    const guide = await waitFor(() => fs.existsSync(opened) &&
                                      fs.readFileSync(opened, 'utf8').trim(), 'the opened guide');
    const file = guide.startsWith('file:') ? fileURLToPath(guide) : guide;
    assert.equal(path.basename(file), `veldra_help_${names.language}.pdf`);
    assert.equal(fs.readFileSync(file).subarray(0, 5).toString(), '%PDF-');
});

test('Export to HTML5, found in the command palette by typing "exp", into a folder typed into ' +
     'the folder dialog; Chromium shows both texts', async () => {
    keys('ctrl+shift+p');
    await find('text', names.paletteEdit);
    type('exp');
    await pause(200);
    shoot('5-palette');
    keys('Return');
    await find('dialog', names.exportTitle);
    await find('push button', names.choose);
    keys('ctrl+a');
    type(exportDir);
    shoot('5-export');
    keys('Return');
    const index = path.join(exportDir, 'index.html');
    await waitFor(() => fs.existsSync(index) && fs.existsSync(path.join(exportDir, 'style.css')),
                  'the exported page');

    browser = await launchBrowser();
    const page = await browser.newPage({ viewport: { width: 960, height: 540 } });
    await page.goto(pathToFileURL(index).href);
    // The first scene is empty; the second comes after its duration, the texts fading in.
    const texts = `.scene.active[aria-label="${names.scene(2)}"] .element`;
    await page.waitForFunction(selector => {
        const shown = [...document.querySelectorAll(selector)];
        return shown.length === 2 && shown.every(text => getComputedStyle(text).opacity === '1');
    }, texts, { timeout: 10000 });
    assert.deepEqual(await page.$$eval(texts, shown => shown.map(text => text.textContent)),
                     ['Hello', 'World']);
    await page.screenshot({ path: path.join(screenshotDir, 'session-6-browser.png') });
});

test('killed during editing while a second instance runs, which then quits: the next start ' +
     'offers "Recover", which brings the edit back', async () => {
    await click((await find('push button', names.add)).centre);
    await find('list item', names.scene(3)); // after the current scene, the first
    const hasEdit = () => backupFiles().some(file => readProject(file)?.scenes.length === 3);
    await waitFor(hasEdit, 'a backup with the new scene', 10000);
    second = await launchApp(home, instanceEnv);
    await widget(second.pid, 'push button', names.newCommand); // running: it quits on SIGTERM
    assert.deepEqual(widgets(second.pid, 'push button', names.recover), [],
                     'a running instance\'s backups are not offered');
    process.kill(app.pid, 'SIGKILL');
    await app.exited;
    assert.equal(readProject().scenes.length, 2, 'the edit was never saved');
    await second.stop();
    assert.equal(await second.exited, 0);
    assert.ok(hasEdit(), 'the second instance left the crashed run\'s backup alone');
    const mode = file => fs.statSync(file).mode & 0o777;
    assert.deepEqual([mode(backupDir), ...backupFiles().map(mode)], [0o700, 0o600]);

    await start();
    const recover = await find('push button', names.recover);
    shoot('7-recover-offer');
    await click(recover.centre);
    await find('list item', names.scene(3));
    await pause(500); // the sub-window settles before the picture
    shoot('8-recovered');
    const project = await saveAndRead(saved => saved.scenes.length === 3,
                                      'the recovered project saved');
    assert.deepEqual(project.scenes.map(scene => scene.name),
                     [names.scene(1), names.scene(3), names.scene(2)]);
    assert.deepEqual(textsOf(project).map(text => text.text), ['Hello', 'World']);

    keys('ctrl+q');
    assert.equal(await app.exited, 0);
    assert.deepEqual(backupFiles(), [], 'a clean end leaves no backups');
});
