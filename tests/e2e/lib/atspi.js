// Finds the application's widgets on screen through the accessibility bus (the runner starts a
// private D-Bus session; the application is started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1).
'use strict';

const { execFileSync } = require('node:child_process');
const path = require('node:path');
const { waitFor } = require('./app');

const helper = path.join(__dirname, 'atspi.py');

// The extents of every showing widget of the process with this role and accessible name, or of
// the widget after each of them with `next`.
function widgets(pid, role, name, { next = false } = {}) {
    const args = [helper, String(pid), role, name, ...(next ? ['next'] : [])];
    return JSON.parse(execFileSync('/usr/bin/python3', args, { encoding: 'utf8' }));
}

const centre = box => ({ x: box.x + Math.round(box.width / 2), y: box.y + Math.round(box.height / 2) });

// Waits until exactly one such widget shows (and is enabled, with `enabled`) and returns its
// extents and centre.
function widget(pid, role, name, { next = false, enabled = false, timeout = 15000 } = {}) {
    return waitFor(() => {
        const found = widgets(pid, role, name, { next });
        return found.length === 1 && (found[0].enabled || !enabled) &&
               { ...found[0], centre: centre(found[0]) };
    }, `the ${enabled ? 'enabled ' : ''}${role} "${name}"`, timeout, 200);
}

module.exports = { widgets, widget };
