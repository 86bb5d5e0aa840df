'use strict';
// The page: builds the window's controls from the core's control table,
// reports what the user does to the core and shows what it says. Every
// rule (the options, the list, the timer's schedule) is the core's, and
// every state: a control is built without one, and the core shows each
// control's state when it starts, as it shows every change after.

(() => {
    // The desktop's indicators and the gap before their text, unscaled.
    const Indicator = {CheckBox: 14, RadioButton: 13.5};
    const IndicatorGap = {CheckBox: 5.3, RadioButton: 5.8};
    const DefaultFontPixels = 11;
    // Said when おわる leaves the page open in a tab and it starts afresh.
    const RestartMessage = 'はじめに　もどりました';
    const ScriptCore = 'pimbola-without-wasm.js';
    // How long the script core may take to arrive before the page says it
    // did not: at 1.6 Mbit/s it takes a fifth of a second.
    const ScriptCoreWaitMs = 10000;

    const stage = document.getElementById('stage');
    const surface = document.getElementById('form');
    const announcer = document.getElementById('announcer');

    function pixels(value) {
        return value + 'px';
    }

    function place(element, row) {
        const style = element.style;
        style.left = pixels(row.x);
        style.top = pixels(row.y);
        if (row.width > 0) {
            style.width = pixels(row.width * row.scale);
            style.height = pixels(row.height * row.scale);
        }
        style.fontSize = pixels(Math.round((row.fontPixels || DefaultFontPixels) * row.scale));
        if (row.bold)
            style.fontWeight = 'bold';
        if (row.textColour)
            style.color = row.textColour;
    }

    // A check box or radio button: the native input inside its label, so
    // the text names it and a tap on the text toggles it.
    function choice(row, type) {
        const label = document.createElement('label');
        const input = document.createElement('input');
        input.type = type;
        input.id = row.name;
        const size = pixels(Indicator[row.kind] * row.scale);
        input.style.width = size;
        input.style.height = size;
        input.style.marginRight = pixels(IndicatorGap[row.kind] * row.scale);
        label.append(input, row.text);
        return {element: label, input};
    }

    function create(row, form) {
        switch (row.kind) {
        case 'PushButton': {
            const button = document.createElement('button');
            button.type = 'button';
            button.id = row.name;
            button.textContent = row.text;
            button.addEventListener('click', () => form()['Button' + row.number + 'Click']());
            return {element: button, input: button};
        }
        case 'CheckBox': {
            const box = choice(row, 'checkbox');
            box.input.addEventListener('change', () => form().checkBoxChanged(row.number, box.input.checked));
            return box;
        }
        case 'RadioButton': {
            const radio = choice(row, 'radio');
            radio.input.name = 'RadioButton';
            radio.input.addEventListener('change', () => {
                if (radio.input.checked)
                    form().radioButtonChosen(row.number);
            });
            return radio;
        }
        case 'ListBox': {
            const list = createListBox(row.name, row.accessibleName, row.text.split('\n'),
                                       index => form().listItemChosen(index));
            return {element: list.element, input: list};
        }
        default: {
            const label = document.createElement('div');
            label.id = row.name;
            return {element: label, input: label};
        }
        }
    }

    // Labels first in reading order (the table creates "＝" before the
    // expression), then the controls in the window's focus order.
    function pageOrder(a, b) {
        if ((a.focusOrder === 0) !== (b.focusOrder === 0))
            return a.focusOrder === 0 ? -1 : 1;
        if (a.focusOrder === 0)
            return a.y - b.y || a.x - b.x;
        return a.focusOrder - b.focusOrder;
    }

    // The window, scaled to fit the stage (the screen inside its safe
    // areas), centred.
    function fitToStage(layout) {
        const width = stage.clientWidth;
        const height = stage.clientHeight;
        const scale = Math.min(width / layout.width, height / layout.height);
        const left = (width - layout.width * scale) / 2;
        const top = (height - layout.height * scale) / 2;
        surface.style.transform = `translate(${pixels(left)}, ${pixels(top)}) scale(${scale})`;
    }

    // An installed app's window may close; a browser tab never should, or
    // a child who opened the page from a link loses it.
    function isAppWindow() {
        return matchMedia('(display-mode: standalone)').matches || navigator.standalone === true;
    }

    // A desktop key repeats while held; the desktop's buttons still press
    // once, so a held Enter or Space steps once here too.
    function ignoreHeldKeys(event) {
        if (event.repeat && (event.key === 'Enter' || event.key === ' ') && event.target.localName === 'button')
            event.preventDefault();
    }

    function start(core) {
        const layout = core.window();
        document.title = layout.caption;
        surface.style.width = pixels(layout.width);
        surface.style.height = pixels(layout.height);
        addEventListener('resize', () => fitToStage(layout));
        fitToStage(layout);

        let form = null;
        let timer = null;
        let controls = null;

        const view = {
            showLabel: (number, text) => { controls['Label' + number].textContent = text; },
            showCheckBox: (number, checked) => { controls['CheckBox' + number].checked = checked; },
            showRadioButton: (number) => { controls['RadioButton' + number].checked = true; },
            showListItem: (index) => { controls.ListBox1.show(index); },
            announce: (text) => { announcer.textContent = text; },
            armTimer: (delay) => {
                clearTimeout(timer);
                timer = delay === null ? null : setTimeout(() => form.timerFired(), delay);
            },
            closeWindow: () => {
                form.FormClose();
                if (isAppWindow())
                    close();
                // Still here (a tab, or a window the browser keeps open).
                Promise.resolve().then(restart);
            },
        };

        function build() {
            controls = {};
            const rows = [];
            for (const row of layout.controls) {
                const made = create(row, () => form);
                place(made.element, row);
                made.element.classList.add('control', row.kind);
                controls[row.name] = made.input;
                rows.push({row, element: made.element});
            }
            rows.sort((a, b) => pageOrder(a.row, b.row));
            surface.textContent = '';
            surface.append(...rows.map(made => made.element));
        }

        function firstControl() {
            const first = layout.controls.filter(row => row.focusOrder > 0)
                .reduce((a, b) => (b.focusOrder < a.focusOrder ? b : a));
            return document.getElementById(first.name);
        }

        // A new core shows the controls its state, whatever they showed.
        function startForm() {
            clearTimeout(timer);
            if (form) {
                form.delete();
                announcer.textContent = '';
            }
            form = new core.WebForm(view);
        }

        // Afresh, as the program starts when opened again, with the same
        // focus and the same words after おわる in a tab and back from the
        // back/forward cache alike.
        function restart() {
            startForm();
            firstControl().focus();
            announcer.textContent = RestartMessage;
        }

        addEventListener('keydown', ignoreHeldKeys, true);
        addEventListener('pagehide', () => form.FormClose());
        // Back from the back/forward cache, the page was stopped mid-run.
        addEventListener('pageshow', event => {
            if (event.persisted)
                restart();
        });
        build();
        startForm();
        for (const message of document.querySelectorAll('.message'))
            message.hidden = true;
        document.documentElement.dataset.ready = 'true';
        performance.mark('pimbola-ready');
    }

    function wasmCore() {
        return new Promise(resolve => {
            // A plain loop: Uint8Array.from with a function takes several
            // times as long on a slow phone.
            const wasmBinary = new Uint8Array(PimbolaWasm.length);
            for (let index = 0; index < wasmBinary.length; ++index)
                wasmBinary[index] = PimbolaWasm.charCodeAt(index);
            resolve(PimbolaCore({wasmBinary}));
        });
    }

    // The same core as plain JavaScript, from beside the page: slower to
    // load, so only where WebAssembly is switched off (Lockdown Mode, a
    // school's policy) or refused. One that is slow to come is waited for
    // in the message that says it did not; it still starts if it comes.
    function scriptCore(error) {
        console.warn('Pimbola starts without WebAssembly:', error);
        onScriptCore = true;
        return new Promise((resolve, reject) => {
            const script = document.createElement('script');
            const late = setTimeout(() => {
                showFailure(navigator.onLine === false ? 'offline' : 'no-script-core',
                            new Error(`${ScriptCore} did not arrive within ${ScriptCoreWaitMs} ms`));
            }, ScriptCoreWaitMs);
            script.src = ScriptCore;
            script.onload = () => {
                clearTimeout(late);
                resolve(PimbolaCore());
            };
            script.onerror = () => {
                clearTimeout(late);
                reject(new Error(ScriptCore + ' did not load'));
            };
            document.head.append(script);
        });
    }

    // Why the script core did not load: a server that answers has not got
    // it; none answering means this browser is offline, and has not kept
    // the core from an earlier visit.
    function unreachable() {
        if (location.protocol === 'file:' || navigator.onLine === false)
            return Promise.resolve(navigator.onLine === false ? 'offline' : 'no-script-core');
        return fetch(ScriptCore, {method: 'HEAD', cache: 'no-store'}).then(() => 'no-script-core', () => 'offline');
    }

    // Where neither core can start, the page says why instead of staying
    // blank.
    function showFailure(cause, error) {
        for (const message of document.querySelectorAll('.message'))
            message.hidden = message.id !== cause;
        document.documentElement.dataset.ready = 'failed';
        console.error('Pimbola could not start:', error);
    }

    // Installing and working offline need a server: a page opened from a
    // file has neither a manifest nor a service worker. Once the page runs,
    // its worker is told what this browser needs kept beyond the page's
    // files: the address the page was opened at, and the script core if
    // it runs on that.
    function offerInstall(started) {
        if (!location.protocol.startsWith('http') || !('serviceWorker' in navigator))
            return;
        const manifest = document.createElement('link');
        manifest.rel = 'manifest';
        manifest.href = 'manifest.webmanifest';
        document.head.append(manifest);
        const here = location.href.split(/[?#]/)[0];
        navigator.serviceWorker.register('sw.js')
            .then(() => Promise.all([navigator.serviceWorker.ready, started]))
            .then(([registration]) => registration.active.postMessage(
                {keep: onScriptCore ? [here, new URL(ScriptCore, here).href] : [here]}))
            .catch(error => console.warn('Pimbola will not work offline:', error));
    }

    let onScriptCore = false;
    if (PimbolaSupported) {
        const started = wasmCore().catch(scriptCore).then(start);
        started.catch(error => (onScriptCore ? unreachable() : Promise.resolve('no-script-core'))
            .then(cause => showFailure(cause, error)));
        offerInstall(started);
    }
})();
