#!/usr/bin/python3
"""The page in real browser engines (tests/web/engines.py), each check written once:
    pagetest.py SITE_DIR NEXT_SITE_DIR STEPTRACE DESKTOP_PNG [--engine NAME …] [--node-modules DIR]
SITE_DIR holds the built page, NEXT_SITE_DIR a later build of it (of the
same version), STEPTRACE is the core built natively (what
the desktop program shows for a stepped run) and DESKTOP_PNG a picture of
the desktop window at rest. NAME is chromium, webkit or firefox (all three
by default; webkit needs an X display, firefox puppeteer-core in DIR's
node_modules). Prints one line per check and engine, then a summary of each
engine; non-zero if any check failed.
"""
import argparse
import subprocess
import sys
import tempfile
from pathlib import Path

from PIL import Image, ImageChops

import engines
import hostingtest
import offlinetest
from checking import PHONE, Check, Failure, Site, checked, expect, first_step, labels, report, run_checks

FINISH = 'ぜんぶ　おしまいです'
ENGINES = ('chromium', 'webkit', 'firefox')


def live_regions(engine):
    """Each live region of the page: politeness, atomic and text."""
    return [tuple(region) for region in engine.js("""return [...document.querySelectorAll('[aria-live]')].map(
        e => [e.getAttribute('aria-live'), e.getAttribute('aria-atomic'), e.textContent])""")]


def accessible_live_regions(chromium):
    """The text of each live region as Chromium's accessibility tree has it."""
    nodes = chromium.cdp('Accessibility.getFullAXTree')['nodes']
    by_id = {node['nodeId']: node for node in nodes}

    def text(node):
        if node.get('role', {}).get('value') in ('StaticText', 'InlineTextBox'):
            return node.get('name', {}).get('value', '') if node['role']['value'] == 'StaticText' else ''
        return ''.join(text(by_id[child]) for child in node.get('childIds', []) if child in by_id)

    regions = []
    for node in nodes:
        properties = {p['name']: p['value'].get('value') for p in node.get('properties', [])}
        if properties.get('live') and node.get('role', {}).get('value') != 'StaticText' \
                and properties.get('atomic') is not None:
            regions.append((properties['live'], str(properties.get('atomic')).lower(), text(node)))
    return regions


def steptrace(program, row, recitation):
    out = subprocess.run([program, str(row), '1' if recitation else '0'], check=True, capture_output=True,
                         text=True).stdout
    return [tuple(line.split('\t')) for line in out.splitlines()]


# A page that goes wrong in its first script, before anything of a check's
# could run in it, and is ready all the same.
PLANTED_PAGE = """<!DOCTYPE html><html lang="en"><title>planted</title>
<script>
console.error('planted error at start');
Promise.reject(new Error('planted rejection at start'));
setTimeout(() => { document.documentElement.dataset.ready = 'true'; });
throw new Error('planted throw at start');
</script>"""


def test_console_watch(engine):
    """The "no console error" after every check sees what it should: errors
    from the first script of a page on, and later ones."""
    with tempfile.TemporaryDirectory() as folder:
        Path(folder, 'planted.html').write_text(PLANTED_PAGE)
        site = Site(Path(folder))
        try:
            engine.open(site.url + 'planted.html', PHONE)
            engine.js("""console.error('planted error later');
                         setTimeout(() => { throw new Error('planted throw later'); });
                         Promise.reject(new Error('planted rejection later'));""")
            wanted = [f'planted {kind} {when}' for kind in ('error', 'throw', 'rejection') for when in ('at start', 'later')]
            seen = []

            def all_seen():
                seen.extend(engine.console_errors())
                return all(any(text in error for error in seen) for text in wanted)

            try:
                engine.wait(all_seen, 'the planted errors', timeout=5)
            except engines.EngineError:
                raise Failure(f'the console watch saw only {seen}') from None
        finally:
            site.stop()


def test_options(engine, page):
    engine.open(page, PHONE)
    expect(checked(engine, 'CheckBox13'), 'ぜんぶのだん is checked at start')
    engine.click('CheckBox3')
    expect(not checked(engine, 'CheckBox13'), 'a single row clears ぜんぶのだん')
    engine.click('CheckBox5')
    expect(checked(engine, 'CheckBox3') and checked(engine, 'CheckBox5'), 'single rows add up')
    engine.click('CheckBox10')
    expect(not checked(engine, 'CheckBox3') and not checked(engine, 'CheckBox5'), '０～９ clears the single rows')
    engine.click('CheckBox13')
    expect(not checked(engine, 'CheckBox10') and checked(engine, 'CheckBox13'), 'ぜんぶ clears ０～９')
    engine.click('RadioButton3')
    expect(checked(engine, 'RadioButton3') and not checked(engine, 'RadioButton1'), 'one order at a time')


def questions_of_a_stepped_run(engine):
    """The expressions a stepped run asks, in order, pressing ひとつずつ
    until the run ends."""
    asked = []
    for _ in range(200):
        engine.click('Button3')
        shown = labels(engine)
        if shown[2] == FINISH:
            return asked
        if shown[1] == '':
            asked.append(shown[0])
    raise Failure(f'the run never ended; it asked {asked}')


def test_orders(engine, page, trace):
    ascending = [step[0] for step in trace if step[1] == '']
    expect(len(ascending) == 9, f'the desktop asks {ascending}')

    def run(*radio_buttons):
        engine.open(page, PHONE)
        engine.click('CheckBox3')
        for name in radio_buttons:
            engine.click(name)
        return questions_of_a_stepped_run(engine)

    asked = run('RadioButton2')
    expect(asked == ascending[::-1], f'くだり九九 asks {asked}')
    # The first button is the one checked at start, so it is chosen again
    # after another: only then does its choice have to reach the core.
    asked = run('RadioButton2', 'RadioButton1')
    expect(asked == ascending, f'のぼり九九 asks {asked}')
    # A shuffle may come out sorted; two in a row that do is a fault.
    for attempt in range(2):
        asked = run('RadioButton3')
        expect(sorted(asked) == sorted(ascending), f'バラ九九 asks {asked}, not row 3 once each')
        if asked not in (ascending, ascending[::-1]):
            return
    raise Failure(f'バラ九九 asked in order twice: {asked}')


def test_stepped_run(engine, page, trace):
    engine.open(page, PHONE)
    engine.click('CheckBox3')
    engine.click('CheckBox11')
    shown = []
    for _ in trace:
        engine.click('Button3')
        shown.append((labels(engine), live_regions(engine),
                      accessible_live_regions(engine) if engine.name == 'chromium' else None))
    for step, ((texts, regions, accessible), desktop) in enumerate(zip(shown, trace), 1):
        expect(texts == desktop[:3], f'step {step}: page shows {texts}, desktop {desktop[:3]}')
        expect(regions == [('polite', 'true', desktop[3])],
               f'step {step}: live regions {regions}, desktop announces {desktop[3]!r}')
        expect(accessible in (None, [('polite', 'true', desktop[3])]),
               f'step {step}: the accessibility tree has live regions {accessible}')
    expect(shown[-1][0][2] == FINISH, 'the run ends with the finish message')


def test_timed_run(engine, page, trace):
    engine.open(page, PHONE)
    engine.click('CheckBox2')
    engine.js("""
        window.seen = [];
        const labels = [1, 3, 4].map(n => document.getElementById('Label' + n));
        const note = () => seen.push([performance.now(), labels.map(l => l.textContent)]);
        new MutationObserver(note).observe(document.getElementById('form'),
                                           {subtree: true, childList: true, characterData: true});""")
    engine.click('Button1')
    engine.wait(lambda: labels(engine)[2] == FINISH, 'the timed run to finish', timeout=40)
    seen = engine.js('return seen')
    states = []
    for stamp, texts in seen:
        if not states or states[-1][1] != tuple(texts):
            states.append((stamp, tuple(texts)))
    expect([texts for _, texts in states] == [step[:3] for step in trace],
           f'the timed run shows {[t for _, t in states]}')
    # A question stays a whole interval from when it is shown; an answer
    # keeps to the run's deadlines and may follow a late question sooner.
    # The fault this guards against cuts a question short by a late tick's
    # lateness, hundreds of milliseconds; a busy machine's own handling of
    # a step may take a few.
    shortest = min(later[0] - earlier[0] for earlier, later in zip(states, states[1:]) if earlier[1][1] == '')
    expect(shortest >= 990, f'a question went after {shortest:.1f} ms, before its second was up')


# ListBox1: the page's own list box, whose rows the core chooses.
def chosen_rows(engine):
    """The list's rows the page shows chosen, as the core said."""
    return engine.js("return [...document.querySelectorAll('#ListBox1 [aria-selected=true]')].map(row => row.id)")


def test_list_never_empty(engine, page):
    engine.open(page, PHONE)
    expect(chosen_rows(engine) == ['ListBox1-0'], f'at start the list shows {chosen_rows(engine)}')
    for tap in range(2):
        engine.click('ListBox1-2')
        expect(chosen_rows(engine) == ['ListBox1-2'], f'click {tap + 1} on ３びょうおき: {chosen_rows(engine)}')
    expect(engine.js("return document.getElementById('ListBox1').getAttribute('aria-label')") == 'なんびょうおき',
           'the list is named as on the desktop')


def test_list_keys(engine):
    """Each key moves the choice and the focus with it; none leaves the
    list without a chosen row."""
    engine.js("document.querySelector('#ListBox1 [tabindex=\"0\"]').focus()")
    for key, index in (('ArrowDown', 1), ('End', 3), ('ArrowDown', 3), ('ArrowUp', 2), ('Home', 0), ('ArrowUp', 0)):
        engine.press(key)
        expect(chosen_rows(engine) == [f'ListBox1-{index}'], f'{key} shows {chosen_rows(engine)} chosen, not row {index}')
        expect(engine.js('return document.activeElement.id') == f'ListBox1-{index}',
               f'after {key} the focus is on {engine.js("return document.activeElement.id")}')


def test_keyboard(engine, page, focus_names):
    engine.open(page, PHONE)
    visited = []
    for _ in focus_names:
        engine.press('Tab')
        visited.append(engine.js('return document.activeElement.id'))
    expect(visited == focus_names, f'Tab visits {visited}')
    engine.press('Shift+Tab')
    expect(engine.js('return document.activeElement.id') == focus_names[-2], 'Shift+Tab goes back')
    if engine.keys_activate:
        engine.js("document.getElementById('CheckBox3').focus()")
        engine.press('Space')
        expect(checked(engine, 'CheckBox3') and not checked(engine, 'CheckBox13'), 'Space checks a row')
        engine.js("document.getElementById('Button3').focus()")
        engine.press('Enter')
        expect(labels(engine)[0] == '３×１', 'Enter presses ひとつずつ')
    test_list_keys(engine)


def test_offline_reload(engine, site_dir):
    # A server of its own, so that stopping it leaves the other checks
    # theirs, and that keeps nothing in the HTTP cache.
    site = Site(site_dir, cached=False)
    page = site.url + 'pimbola.html'
    try:
        engine.open(page, PHONE)
        engine.wait(lambda: engine.js('return !!navigator.serviceWorker.controller'),
                    'the service worker to take the page')
        entries = engine.js('return performance.getEntriesByType("resource").map(e => e.name)')
        expect(all(name.startswith(site.url) or name.startswith('data:') for name in entries),
               f'requests outside the page own origin: {entries}')
    finally:
        site.stop()
    engine.open(page, PHONE)
    first_step(engine, 'offline')


def test_file(engine, file_page):
    engine.open(file_page, PHONE)
    first_step(engine, 'from a file')
    expect(engine.js('return [document.documentElement.lang, document.title]') == ['ja', 'Pimbola'],
           'lang and title')


def ink(image, box):
    """The box around everything not of the window's grey inside box."""
    region = image.crop(box).convert('RGB')
    background = Image.new('RGB', region.size, image.getpixel((1, 1))[:3])
    found = ImageChops.difference(region, background).convert('L').point(lambda v: 255 if v > 40 else 0).getbbox()
    return None if found is None else (found[0] + box[0], found[1] + box[1], found[2] + box[0], found[3] + box[1])


def ink_colour(image, box):
    """The mean colour of what is drawn strongly inside box: the text's."""
    region = image.crop(box).convert('RGB')
    background = Image.new('RGB', region.size, image.getpixel((1, 1))[:3])
    strength = ImageChops.difference(region, background).convert('L').getdata()
    inked = [pixel for pixel, value in zip(region.getdata(), strength) if value > 80]
    return tuple(sum(pixel[channel] for pixel in inked) / len(inked) for channel in range(3)) if inked else None


# Where each control's text is drawn on the page.
TEXT_BOXES = """return [...document.querySelectorAll('#form > *')].map(control => {
    const walker = document.createTreeWalker(control, NodeFilter.SHOW_TEXT,
                                             {acceptNode: node => node.textContent.trim() ? 1 : 2});
    const text = walker.nextNode();
    const range = document.createRange();
    range.selectNodeContents(text);
    const r = range.getBoundingClientRect();
    return [control.querySelector('input') ? control.querySelector('input').id : control.id,
            r.left, r.top, r.right, r.bottom];
})"""


def test_places(engine, page, desktop_png, out_png):
    engine.open(page, PHONE)
    engine.screenshot(out_png)
    shot = Image.open(out_png)
    desktop = Image.open(desktop_png)
    expect(desktop.size == PHONE, f'the desktop window is {desktop.size}')
    expect(shot.size == PHONE, f'the screenshot is {shot.size}')
    # Every control, and each row of the list.
    rects = engine.js("""return [...document.querySelectorAll('#form > *, #ListBox1 > *')].map(e => {
        const r = e.getBoundingClientRect(); return [e.querySelector('input') ? e.querySelector('input').id : e.id,
                                                    r.left, r.top, r.right, r.bottom]; })""")
    off = []
    for name, left, top, right, bottom in rects:
        box = (max(int(left) - 1, 0), max(int(top) - 1, 0), min(int(right) + 2, PHONE[0]), min(int(bottom) + 2, PHONE[1]))
        if name.startswith('ListBox1-'):
            # A row inside the list's frame, whose sides would be its ink.
            box = (int(left) + 2, box[1], int(right) - 2, box[3])
        seen, wanted = ink(shot, box), ink(desktop, box)
        if seen is None or wanted is None or max(abs(a - b) for a, b in zip(seen, wanted)) > 2:
            off.append(f'{name}: page {seen}, desktop {wanted}')
    expect(not off, 'controls more than 2 px from the desktop: ' + '; '.join(off))
    unlike = []
    for name, left, top, right, bottom in engine.js(TEXT_BOXES):
        box = (int(left), int(top), int(right) + 1, int(bottom) + 1)
        seen, wanted = ink_colour(shot, box), ink_colour(desktop, box)
        if seen is None or wanted is None or max(abs(a - b) for a, b in zip(seen, wanted)) > 32:
            unlike.append(f'{name}: page {seen}, desktop {wanted}')
    expect(not unlike, 'texts not of the desktop colour: ' + '; '.join(unlike))


def test_fits_screen(engine, page):
    """On any screen the window is as large as fits, centred."""
    for width, height in ((393, 852), (820, 1180), (1180, 820)):
        engine.open(page, (width, height))
        left, top, shown_width, shown_height = engine.js(
            "const r = document.getElementById('form').getBoundingClientRect(); "
            "return [r.left, r.top, r.width, r.height]")
        scale = min(width / PHONE[0], height / PHONE[1])
        wanted = ((width - PHONE[0] * scale) / 2, (height - PHONE[1] * scale) / 2, PHONE[0] * scale, PHONE[1] * scale)
        expect(max(abs(a - b) for a, b in zip((left, top, shown_width, shown_height), wanted)) <= 1,
               f'at {width} × {height} the window is at {left:.0f}, {top:.0f}, '
               f'{shown_width:.0f} × {shown_height:.0f}, not {wanted}')


def checks(site_dir, next_site_dir, page, steptrace_program, desktop_png):
    file_page = site_dir.as_uri() + '/pimbola.html'
    focus_names = ['Button1', 'Button2'] + [f'CheckBox{n}' for n in range(1, 11)] + \
        ['RadioButton1', 'CheckBox11', 'CheckBox12', 'ListBox1-0', 'CheckBox13', 'Button3']
    return [
        Check('the console watch sees errors from the start', test_console_watch, makes_console_errors=True),
        Check('option rules', lambda e: test_options(e, page)),
        Check('the three orders reach the core', lambda e: test_orders(e, page, steptrace(steptrace_program, 3, False))),
        Check('stepped run of row 3 with recitation equals the desktop', lambda e: test_stepped_run(
            e, page, steptrace(steptrace_program, 3, True))),
        Check('timed run of row 2', lambda e: test_timed_run(e, page, steptrace(steptrace_program, 2, False))),
        Check('the interval list is never empty', lambda e: test_list_never_empty(e, page)),
        Check('keyboard only', lambda e: test_keyboard(e, page, focus_names)),
        Check('opened as a file', lambda e: test_file(e, file_page)),
        Check('each control within 2 px of the desktop', lambda e: test_places(
            e, file_page, desktop_png, site_dir.parent / f'page-at-rest-{e.name}.png')),
        Check('the window fits phones and tablets', lambda e: test_fits_screen(e, page)),
        Check('reload while offline', lambda e: test_offline_reload(e, site_dir)),
        Check('a new build reaches an installed copy, offline too',
              lambda e: offlinetest.test_release_reaches_installed_copy(e, site_dir, next_site_dir)),
        Check('two copies on one host both work offline', lambda e: offlinetest.test_two_copies_offline(e, site_dir)),
        Check('a plain host, one that drops ".html" and one that serves the folder, online and offline',
              lambda e: hostingtest.test_hosts(e, site_dir)),
        Check('without WebAssembly, offline after one visit and after a release',
              lambda e: hostingtest.test_offline_without_webassembly(e, site_dir, next_site_dir)),
        Check('without any one thing it needs, the page says the browser is too old',
              lambda e: hostingtest.test_too_old(e, site_dir)),
        Check('without WebAssembly, the page names why it cannot start',
              lambda e: hostingtest.test_failure_causes(e, site_dir)),
    ]


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument('site_dir', type=Path)
    parser.add_argument('next_site_dir', type=Path)
    parser.add_argument('steptrace')
    parser.add_argument('desktop_png')
    parser.add_argument('--engine', action='append', choices=ENGINES)
    parser.add_argument('--node-modules', default='build-web/engines')
    arguments = parser.parse_args()
    site_dir = arguments.site_dir.resolve()
    site = Site(site_dir)
    listed = checks(site_dir, arguments.next_site_dir.resolve(), site.url + 'pimbola.html', arguments.steptrace,
                    arguments.desktop_png)
    results = [run_checks(name, listed, lambda name=name: engines.start(name, arguments.node_modules))
               for name in arguments.engine or ENGINES]
    site.stop()
    return report(results)


if __name__ == '__main__':
    sys.exit(main())
