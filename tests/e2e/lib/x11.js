// Real X input and window geometry through xdotool, and screenshots with ImageMagick.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { waitFor } = require('./app');

function xdotool(...args) {
    return execFileSync('xdotool', args.map(String), { encoding: 'utf8' }).trim();
}

function geometry(window) {
    const values = Object.fromEntries(xdotool('getwindowgeometry', '--shell', window)
        .split('\n').map(line => line.split('=')).map(([key, value]) => [key, Number(value)]));
    return { x: values.X, y: values.Y, width: values.WIDTH, height: values.HEIGHT };
}

function windowsOf(pid) {
    try {
        return xdotool('search', '--onlyvisible', '--pid', pid).split('\n').filter(Boolean);
    } catch {
        return []; // xdotool exits with 1 when nothing matches
    }
}

// The main window is the largest visible window of the process; the shadow strips are 8 px.
function mainWindow(pid) {
    return waitFor(() => windowsOf(pid)
        .map(window => ({ window, area: geometry(window).width * geometry(window).height }))
        .filter(({ area }) => area > 100 * 100)
        .sort((a, b) => b.area - a.area)
        .map(({ window }) => window)[0], 'the main window');
}

function waitForGeometry(window, predicate, what) {
    return waitFor(() => {
        const current = geometry(window);
        return predicate(current) && current;
    }, what, 5000);
}

const pause = ms => new Promise(resolve => setTimeout(resolve, ms));

// Presses the left button at `from`, moves through the points, releases at the last one.
async function drag(from, ...points) {
    xdotool('mousemove', from.x, from.y);
    await pause(150);
    xdotool('mousedown', 1);
    for (const point of points) {
        await pause(150);
        xdotool('mousemove', point.x, point.y);
    }
    await pause(150);
    xdotool('mouseup', 1);
}

async function doubleClick(point) {
    xdotool('mousemove', point.x, point.y);
    await pause(150);
    xdotool('click', '--repeat', 2, '--delay', 80, 1);
}

function screenshot(file, area) {
    const crop = `${area.width}x${area.height}+${area.x}+${area.y}`;
    fs.mkdirSync(path.dirname(file), { recursive: true });
    execFileSync('import', ['-window', 'root', '-crop', crop, '+repage', file]);
}

module.exports = { xdotool, geometry, windowsOf, mainWindow, waitForGeometry, drag, doubleClick,
                   pause, screenshot };
