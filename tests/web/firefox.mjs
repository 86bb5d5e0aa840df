// Firefox ESR for tests/web/engines.py: drives Debian's firefox-esr over WebDriver
// BiDi with puppeteer-core and takes one JSON command a line on stdin,
// answering each with one JSON line on stdout, so that the page checks stay
// written once, in Python.
//   node firefox.mjs NODE_MODULES_PARENT
// A command is {"op": …, …}; the answer {"value": …} or {"error": "…"}.
import {createRequire} from 'node:module';
import path from 'node:path';
import readline from 'node:readline';

const puppeteer = createRequire(path.join(path.resolve(process.argv[2]), 'package.json'))('puppeteer-core');

const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    // A script or load that hangs fails in 30 s, as in the other engines.
    protocolTimeout: 30000,
    // Service workers are what a reload offline relies on.
    extraPrefsFirefox: {'dom.serviceWorkers.testing.enabled': true},
});
const page = (await browser.pages())[0] ?? await browser.newPage();
let errors = [];
page.on('console', message => {
    if (message.type() === 'error')
        errors.push(message.text());
});
page.on('pageerror', error => errors.push(String(error)));

const Shifted = {'Shift+Tab': 'Tab'};
// puppeteer names the space bar by the character it types.
const Named = {Space: ' '};

const operations = {
    async open({url, width, height}) {
        await page.setViewport({width, height, deviceScaleFactor: 1});
        await page.goto(url);
        return null;
    },
    // The script is a function body with selenium's execute_script meaning;
    // it runs as the debugger's, so the page's content-security policy,
    // which forbids eval, does not stop it.
    js({script, args}) {
        return page.evaluate(`(async function () { ${script}\n}).apply(null, ${JSON.stringify(args)})`);
    },
    async click({x, y}) {
        await page.mouse.click(x, y);
        return null;
    },
    async press({key, times}) {
        for (let n = 0; n < times; ++n) {
            if (Shifted[key]) {
                await page.keyboard.down('Shift');
                await page.keyboard.press(Shifted[key]);
                await page.keyboard.up('Shift');
            } else {
                await page.keyboard.press(Named[key] ?? key);
            }
        }
        return null;
    },
    async screenshot({path: file}) {
        await page.screenshot({path: file});
        return null;
    },
    console_errors() {
        const seen = errors;
        errors = [];
        return seen;
    },
    async back() {
        await page.goBack();
        return null;
    },
    async quit() {
        await browser.close();
        return null;
    },
};

for await (const line of readline.createInterface({input: process.stdin})) {
    const command = JSON.parse(line);
    let answer;
    try {
        answer = {value: (await operations[command.op](command)) ?? null};
    } catch (error) {
        answer = {error: String(error && error.message || error)};
    }
    process.stdout.write(JSON.stringify(answer) + '\n');
    if (command.op === 'quit')
        break;
}
