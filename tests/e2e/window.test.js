// Real X input on the running application's frameless window: the title bar and the shadow
// strips. The runner's window manager first reserves a strip at the bottom of the screen, as a
// task bar would, so a maximised window is smaller than the screen; the runner then repeats these
// tests with nothing reserved (VELDRA_E2E_FULL_WORKAREA=1), where a maximised window fills it.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { startApp } = require('./lib/app');
const { mainWindow, geometry, waitForGeometry, drag, doubleClick, pause, screenshot, xdotool } = require('./lib/x11');

// The run's screenshot goes into the build tree; VELDRA_SCREENSHOT_DIR=docs/screenshots refreshes
// the one the README shows.
const screenshotDir = process.env.VELDRA_SCREENSHOT_DIR || path.join(process.env.VELDRA_BUILD_DIR, 'screenshots');
const screenshotFile = path.resolve(screenshotDir, process.env.VELDRA_E2E_FULL_WORKAREA
                                    ? 'welcome-full-screen.png' : 'welcome.png');
let app;
let window;
let normal;

// User and system CPU time of a process, from /proc (clock ticks of 1/100 s on Linux).
const cpuSeconds = pid => fs.readFileSync(`/proc/${pid}/stat`, 'utf8')
    .split(') ')[1].split(' ').slice(11, 13).reduce((sum, ticks) => sum + Number(ticks), 0) / 100;
const screenWidth = () => Number(xdotool('getdisplaygeometry').split(' ')[0]);
const isMaximised = area => area.width === screenWidth();
// A point on the title row, clear of the title text and the buttons.
const titleBar = (area, dx = 0) => ({ x: area.x + Math.round(area.width / 2) + dx, y: area.y + 12 });

before(async () => {
    app = await startApp();
    window = await mainWindow(app.pid);
    await pause(3000); // the web view paints the welcome page
    normal = geometry(window);
});

after(() => app?.stop());

test('dragging the title bar moves the window by the drag distance', async () => {
    const start = geometry(window);
    const from = titleBar(start);
    await drag(from, { x: from.x + 40, y: from.y + 20 }, { x: from.x + 90, y: from.y + 60 });
    const moved = await waitForGeometry(window, area => area.x !== start.x, 'the window to move');
    assert.deepEqual(moved, { ...start, x: start.x + 90, y: start.y + 60 });
    normal = moved;
});

test('double-clicking the title bar maximises and restores the window', async () => {
    await doubleClick(titleBar(normal));
    const maximised = await waitForGeometry(window, isMaximised, 'the window to maximise');
    await pause(1500); // the page follows the new size
    screenshot(screenshotFile, maximised);
    // Nothing fights the window manager: the window holds its size and the application idles.
    const cpuBefore = cpuSeconds(app.pid);
    await pause(1500);
    assert.deepEqual(geometry(window), maximised);
    const busy = (cpuSeconds(app.pid) - cpuBefore) / 1.5;
    assert.ok(busy < 0.2, `the maximised window keeps the application ${Math.round(busy * 100)} % busy`);

    await doubleClick(titleBar(maximised));
    const restored = await waitForGeometry(window, area => !isMaximised(area), 'the restore');
    assert.deepEqual(restored, normal);
});

test('dragging the maximised window down by 10 px restores it under the cursor', async () => {
    await doubleClick(titleBar(normal));
    const maximised = await waitForGeometry(window, isMaximised, 'the window to maximise');
    const from = titleBar(maximised, -200);
    const end = { x: from.x + 1, y: from.y + 11 };
    xdotool('mousemove', from.x, from.y, 'mousedown', 1);
    await pause(150);
    xdotool('mousemove', from.x, from.y + 10);
    await waitForGeometry(window, area => !isMaximised(area), 'the restore');
    await pause(300);
    xdotool('mousemove', end.x, end.y);
    await pause(150);
    xdotool('mouseup', 1);
    const restored = await waitForGeometry(window, area => area.y > 0, 'the window to follow');
    assert.equal(restored.width, normal.width);
    assert.equal(restored.height, normal.height);
    assert.ok(Math.abs(restored.x + restored.width / 2 - end.x) <= 2,
              `window ${JSON.stringify(restored)} centred under the cursor at ${end.x}`);
    assert.ok(end.y >= restored.y && end.y < restored.y + 25, 'the cursor is on the title bar');
    normal = restored;
});

test('dragging the right shadow strip widens the window', async () => {
    const start = geometry(window);
    const strip = { x: start.x + start.width + 2, y: start.y + Math.round(start.height / 2) };
    xdotool('mousemove', strip.x - 1, strip.y); // the strip picks its zone while hovered
    const end = { x: strip.x + 120, y: strip.y };
    await drag(strip, { x: strip.x + 60, y: strip.y }, end);
    const wider = await waitForGeometry(window, area => area.width > start.width, 'the resize');
    // The right edge follows the cursor; the rest stays.
    assert.deepEqual(wider, { ...start, width: end.x - start.x + 1 });
});
