// Headless Chromium from the system (never a downloaded build), driven by playwright-core.
'use strict';

const { chromium } = require('playwright-core');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { pageDir } = require('./app');

function launchBrowser(args = []) {
    return chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', ...args],
    });
}

function pageFileUrl(port) {
    return `${pathToFileURL(path.join(pageDir, 'index.html'))}?port=${port}&theme=Dark`;
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

module.exports = { launchBrowser, pageFileUrl, openWelcome, entries };
