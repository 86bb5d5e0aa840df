'use strict';
// The page: builds the window's controls from the core's control table,
// reports what the user does to the core and shows what it says. Every
// rule (the options, the list, the timer's schedule) is the core's.

(() => {
    // The desktop's indicators and the gap before their text, unscaled.
    const Indicator = {CheckBox: 14, RadioButton: 13.5};
    const IndicatorGap = {CheckBox: 5.3, RadioButton: 5.8};
    const DefaultFontPixels = 11;

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
        if (!row.focusHighlight)
            element.classList.add('no-focus-highlight');
    }

    // A check box or radio button: the native input inside its label, so
    // the text names it and a tap on the text toggles it.
    function choice(row, type) {
        const label = document.createElement('label');
        const input = document.createElement('input');
        input.type = type;
        input.id = row.name;
        input.checked = row.initiallyOn;
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
            const list = document.createElement('select');
            list.id = row.name;
            list.size = row.text.split('\n').length;
            for (const item of row.text.split('\n'))
                list.add(new Option(item));
            list.selectedIndex = row.initiallyOn ? 0 : -1;
            list.addEventListener('change', () => form().listItemChosen(list.selectedIndex));
            return {element: list, input: list};
        }
        default: {
            const label = document.createElement('div');
            label.id = row.name;
            label.textContent = row.text;
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

    function fitToViewport(layout) {
        const scale = Math.min(innerWidth / layout.width, innerHeight / layout.height);
        const left = (innerWidth - layout.width * scale) / 2;
        const top = (innerHeight - layout.height * scale) / 2;
        surface.style.transform = `translate(${pixels(left)}, ${pixels(top)}) scale(${scale})`;
    }

    function start(core) {
        const layout = core.window();
        document.title = layout.caption;
        surface.style.width = pixels(layout.width);
        surface.style.height = pixels(layout.height);
        addEventListener('resize', () => fitToViewport(layout));
        fitToViewport(layout);

        let form = null;
        let timer = null;
        let controls = null;

        const view = {
            showLabel: (number, text) => { controls['Label' + number].textContent = text; },
            showCheckBox: (number, checked) => { controls['CheckBox' + number].checked = checked; },
            showRadioButton: (number) => { controls['RadioButton' + number].checked = true; },
            showListItem: (index) => { controls.ListBox1.selectedIndex = index; },
            announce: (text) => { announcer.textContent = text; },
            armTimer: (delay) => {
                clearTimeout(timer);
                timer = delay === null ? null : setTimeout(() => form.timerFired(), delay);
            },
            // A page cannot close a tab it did not open; where the browser
            // refuses, the run ends and the page starts afresh, as the
            // program would when opened again.
            closeWindow: () => {
                form.FormClose();
                close();
                queueMicrotask(openForm);
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
            surface.replaceChildren(...rows.map(made => made.element));
        }

        function openForm() {
            if (form) {
                form.delete();
                announcer.textContent = '';
            }
            build();
            form = new core.WebForm(view);
        }

        addEventListener('pagehide', () => form.FormClose());
        openForm();
        document.documentElement.dataset.ready = 'true';
        performance.mark('pimbola-ready');
    }

    // Installing and working offline need a server: a page opened from a
    // file has neither a manifest nor a service worker.
    function offerInstall() {
        if (!location.protocol.startsWith('http') || !('serviceWorker' in navigator))
            return;
        const manifest = document.createElement('link');
        manifest.rel = 'manifest';
        manifest.href = 'manifest.webmanifest';
        document.head.append(manifest);
        navigator.serviceWorker.register('sw.js').catch(() => {});
    }

    const wasmBinary = Uint8Array.from(atob(PimbolaWasm), character => character.charCodeAt(0));
    PimbolaCore({wasmBinary}).then(start);
    offerInstall();
})();
