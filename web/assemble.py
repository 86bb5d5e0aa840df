#!/usr/bin/python3
"""Makes the page's folder from its parts:
    assemble.py PAGE_SOURCES CORE_JS CORE_WASM CORE_SCRIPT ICON_SVG VERSION OUT_DIR
pimbola.html carries its style, the check for what the browser must have,
the core (its WebAssembly as a string of bytes) and its script, with a
content-security policy that admits exactly those, so the one file runs from a disk or a server; the manifest and service worker
beside it make a served copy installable and usable offline, and the core
as plain JavaScript beside it serves browsers that run no WebAssembly. The
service worker's cache is named after a hash of what it serves, so every
change reaches the copies already installed.
"""
import base64
import hashlib
import shutil
import sys
from pathlib import Path
from urllib.parse import quote


def digest(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


# The page's scripts, in the order they run.
PAGE_SCRIPTS = ('listbox.js', 'pimbola.js')


def inline_script(text):
    # An inline script ends at the first "</script", wherever it stands.
    return text.replace('</script', '<\\/script')


# In a template literal, escaped: NUL (which the HTML parser replaces), CR
# (which it turns into LF), the literal's own quote, escape and
# substitution, and "<", so that no "</script" or "<!--" can end or change
# the inline script.
BYTE_ESCAPES = {0: '\\x00', 13: '\\r', 36: '\\$', 60: '\\x3c', 92: '\\\\', 96: '\\`'}


def byte_string(data):
    """The bytes as a JavaScript template literal's text, one character
    each: gzipped, a third smaller than base64."""
    return ''.join(BYTE_ESCAPES.get(byte, chr(byte)) for byte in data)


# The core without WebAssembly, beside the page.
SCRIPT_CORE = 'pimbola-without-wasm.js'


def main(sources, core_js, core_wasm, core_script, icon_svg, version, out):
    sources, out = Path(sources), Path(out)
    out.mkdir(parents=True, exist_ok=True)
    style = (sources / 'pimbola.css').read_text()
    wasm = byte_string(Path(core_wasm).read_bytes())
    core = inline_script(Path(core_js).read_text() + f"\nconst PimbolaWasm = `{wasm}`;\n")
    page = inline_script(''.join((sources / name).read_text() for name in PAGE_SCRIPTS))
    check = inline_script((sources / 'check.js').read_text())
    icon = Path(icon_svg).read_text()
    csp = '; '.join([
        "default-src 'none'",
        f"script-src {digest(check)} {digest(core)} {digest(page)} 'self' 'wasm-unsafe-eval'",
        f"style-src {digest(style)}",
        "img-src 'self' data:",
        "manifest-src 'self'",
        "worker-src 'self'",
        "connect-src 'self'",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    html = (sources / 'pimbola.html').read_text()
    for key, value in (('@VERSION@', version), ('@CSP@', csp), ('@ICON@', 'data:image/svg+xml,' + quote(icon)),
                       ('@STYLE@', style), ('@CHECK@', check), ('@CORE@', core), ('@PAGE@', page)):
        html = html.replace(key, value, 1)
    manifest = (sources / 'manifest.webmanifest').read_text()
    (out / 'pimbola.html').write_text(html)
    (out / 'manifest.webmanifest').write_text(manifest)
    shutil.copy(icon_svg, out / 'icon.svg')
    shutil.copy(core_script, out / SCRIPT_CORE)
    # The PNG icons are drawn from the SVG, so it stands for them here.
    script = Path(core_script).read_text()
    served = hashlib.sha256('\0'.join((html, manifest, icon, script)).encode()).hexdigest()[:16]
    (out / 'sw.js').write_text((sources / 'sw.js').read_text().replace('@CONTENT@', served))


if __name__ == '__main__':
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    main(*sys.argv[1:])
