// Headless Chromium from the system (never a downloaded build), driven by playwright-core.
'use strict';

const { chromium } = require('playwright-core');

function launchBrowser(args = []) {
    return chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', ...args],
    });
}

// Opens the welcome page and waits until it has connected, or given up.
async function openWelcome(browser, url) {
    const page = await browser.newPage();
    await page.goto(url);
    await page.waitForFunction(() => document.body.dataset.state !== 'connecting');
    return page;
}

function entries(page) {
    return page.$$eval('#recent-list .entry', list => list.map(entry => ({
        path: entry.dataset.path,
        name: entry.querySelector('.name').textContent,
        missing: !entry.querySelector('.missing-mark').hidden,
    })));
}

module.exports = { launchBrowser, openWelcome, entries };
