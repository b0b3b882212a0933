// The welcome page's script. It reaches the application over the WebSocket port named in the
// page's query (?port=N&theme=Dark), presenting the secret from the fragment (#token=...), with
// Qt's qwebchannel.js, through the objects "vdwelcome"
// (recent projects, commands, queries) and "vdwelcomeinfo" (missing projects, theme).
'use strict';

(function () {
    const dictionaries = {
        en: {
            greeting: 'Welcome to Veldra',
            subtitle: 'Make scenes, preview them in a browser, export them to HTML5.',
            newProject: 'New Project',
            openProject: 'Open Project…',
            recentTitle: 'Recent Projects',
            recentEmpty: 'No recent projects yet.',
            missing: 'missing',
            showFolder: 'Show in file browser',
            remove: 'Remove from list',
            connecting: 'Connecting to Veldra…',
            offline: 'Cannot reach Veldra.',
            ready: '',
            build: 'Version %1',
        },
        de: {
            greeting: 'Willkommen bei Veldra',
            subtitle: 'Szenen gestalten, im Browser ansehen, als HTML5 exportieren.',
            newProject: 'Neues Projekt',
            openProject: 'Projekt öffnen…',
            recentTitle: 'Zuletzt geöffnet',
            recentEmpty: 'Noch keine Projekte.',
            missing: 'fehlt',
            showFolder: 'Im Dateimanager zeigen',
            remove: 'Aus der Liste entfernen',
            connecting: 'Verbindung zu Veldra…',
            offline: 'Veldra ist nicht erreichbar.',
            ready: '',
            build: 'Version %1',
        },
    };

    const query = new URLSearchParams(window.location.search);
    const token = new URLSearchParams(window.location.hash.slice(1)).get('token') || '';
    const list = document.getElementById('recent-list');
    const entryTemplate = document.getElementById('entry-template');
    let texts = dictionaries.en;
    let welcome = null; // "vdwelcome"
    let info = null;    // "vdwelcomeinfo", absent in older applications
    let focusAfterReload = null; // index of the entry to focus once the list is rebuilt
    let resolveReady;
    const ready = new Promise(resolve => { resolveReady = resolve; });

    // Calls a method of a published object; resolves with its result.
    function call(object, method, ...args) {
        return new Promise(resolve => object[method](...args, resolve));
    }

    function applyTheme(themeId) {
        const light = !themeId || themeId.toLowerCase() === 'light';
        document.documentElement.dataset.theme = light ? 'light' : 'dark';
    }

    function applyLanguage(localeId) {
        const language = (localeId || 'en').split(/[_-]/)[0].toLowerCase();
        texts = dictionaries[language] || dictionaries.en;
        document.documentElement.lang = dictionaries[language] ? language : 'en';
        translate(document);
    }

    function translate(root) {
        for (const element of root.querySelectorAll('[data-text]'))
            element.textContent = texts[element.dataset.text];
        for (const element of root.querySelectorAll('[data-title]')) {
            element.title = texts[element.dataset.title];
            element.setAttribute('aria-label', texts[element.dataset.title]);
        }
    }

    function setState(state) {
        document.body.dataset.state = state;
        const status = document.getElementById('status');
        status.dataset.text = state;
        status.textContent = texts[state];
    }

    function splitPath(path) {
        const cut = Math.max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
        const fileName = path.slice(cut + 1);
        const dot = fileName.lastIndexOf('.');
        return {
            name: dot > 0 ? fileName.slice(0, dot) : fileName,
            folder: cut >= 0 ? path.slice(0, cut) || path.slice(0, 1) : '',
        };
    }

    function makeEntry(path, missing) {
        const entry = entryTemplate.content.firstElementChild.cloneNode(true);
        const { name, folder } = splitPath(path);
        entry.dataset.path = path;
        entry.classList.toggle('missing', missing);
        entry.querySelector('.name').textContent = name;
        entry.querySelector('.folder').textContent = folder;
        entry.querySelector('.missing-mark').hidden = !missing;
        entry.querySelector('.open').title = path;
        translate(entry);
        return entry;
    }

    function render(paths, missing) {
        list.replaceChildren(...paths.map(path => makeEntry(path, missing.has(path))));
        document.getElementById('recent-empty').hidden = paths.length > 0;
        if (focusAfterReload !== null && paths.length > 0) {
            const index = Math.min(focusAfterReload, paths.length - 1);
            list.children[index].querySelector('.open').focus();
        }
        focusAfterReload = null;
    }

    async function reload() {
        const paths = await call(welcome, 'getRecentFileList');
        const missing = info ? await call(info, 'getMissingRecentFiles') : [];
        render(paths, new Set(missing));
        return paths;
    }

    function entryIndex(entry) {
        return Array.prototype.indexOf.call(list.children, entry);
    }

    function removeEntry(entry) {
        focusAfterReload = entryIndex(entry);
        welcome.removeFile(entry.dataset.path);
    }

    list.addEventListener('click', event => {
        const button = event.target.closest('button');
        const entry = button && button.closest('.entry');
        if (!entry || !welcome)
            return;
        if (button.classList.contains('open'))
            welcome.openFile(entry.dataset.path);
        else if (button.classList.contains('reveal'))
            welcome.showInExplorer(entry.dataset.path);
        else if (button.classList.contains('remove'))
            removeEntry(entry);
    });

    // Delete removes the focused entry; the arrow keys move between entries, keeping the column.
    list.addEventListener('keydown', event => {
        const button = event.target.closest('button');
        const entry = button && button.closest('.entry');
        if (!entry || !welcome)
            return;
        if (event.key === 'Delete') {
            removeEntry(entry);
        } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
            const next = event.key === 'ArrowDown' ? entry.nextElementSibling
                                                   : entry.previousElementSibling;
            if (next)
                next.querySelector('.' + button.classList[0]).focus();
        } else {
            return;
        }
        event.preventDefault();
    });

    document.getElementById('new-project').addEventListener('click', () => {
        if (welcome)
            welcome.callbackTunnelAsync('File.New');
    });
    document.getElementById('open-project').addEventListener('click', () => {
        if (welcome)
            welcome.callbackTunnelAsync('File.Open_Project');
    });

    async function start(channel) {
        welcome = channel.objects.vdwelcome;
        info = channel.objects.vdwelcomeinfo || null;
        if (!welcome) {
            setState('offline');
            return;
        }
        if (!query.has('theme') && info)
            applyTheme(await call(info, 'getThemeId'));
        applyLanguage(await call(welcome, 'callbackAsyncfromJS', 'WelcomeScreen.getLocale', ''));
        const build = await call(welcome, 'callbackAsyncfromJS', 'WelcomeScreen.getBuildNumber', '');
        document.getElementById('build').textContent = texts.build.replace('%1', build);
        welcome.resetRecentFiles.connect(reload);
        await reload();
        setState('ready');
        resolveReady(channel);
    }

    function connect() {
        const port = Number(query.get('port'));
        if (!Number.isInteger(port) || port <= 0 || port > 65535 || typeof QWebChannel !== 'function') {
            setState('offline');
            return;
        }
        const socket =
            new WebSocket('ws://127.0.0.1:' + port + '/?token=' + encodeURIComponent(token));
        socket.addEventListener('close', () => setState('offline'));
        socket.addEventListener('open', () => new QWebChannel(socket, start));
    }

    if (query.has('theme'))
        applyTheme(query.get('theme'));
    // Tests and curious users reach the page's state here.
    window.welcomePage = { ready, reload, call: (method, ...args) => call(welcome, method, ...args) };
    connect();
})();
