#!/usr/bin/python3
"""A bare WebKitGTK browser for WebKitWebDriver, as MiniBrowser is, with
one thing more: before any script of a page runs, it watches for the page's
errors and writes each, one line, to the file named by PIMBOLA_WEBKIT_ERRORS,
where the page cannot reach it. WebKitWebDriver hands the console to nobody,
and MiniBrowser's console-to-stdout setting does not reach the views it
makes for automation.
    webkitbrowser.py --automation
Its window holds the page alone, so the window's size is the viewport's.
"""
import os
import sys

import gi

gi.require_version('Gtk', '3.0')
gi.require_version('WebKit2', '4.1')
from gi.repository import Gtk, WebKit2  # noqa: E402  (after their versions are chosen)

NAME = 'pimbola-webkit'
HANDLER = 'pimbolaErrors'

# Console errors, uncaught errors, unhandled rejections and what the
# content-security policy blocks, from the first moment of every document.
WATCH = """(() => {
    const report = text => webkit.messageHandlers.%s.postMessage(String(text));
    const error = console.error;
    console.error = (...parts) => { report(parts.join(' ')); error.apply(console, parts); };
    addEventListener('error', event => report(event.message));
    addEventListener('unhandledrejection', event => report('unhandled rejection: ' + event.reason));
    addEventListener('securitypolicyviolation',
                     event => report(`blocked by ${event.violatedDirective}: ${event.blockedURI || 'inline'}`));
})();""" % HANDLER


def message_text(message):
    # WebKit 2.40 and later hand a JSCValue; earlier, a JavascriptResult.
    value = message.get_js_value() if hasattr(message, 'get_js_value') else message
    return value.to_string()


def main():
    if '--automation' not in sys.argv[1:]:
        sys.exit(__doc__)
    errors = open(os.environ['PIMBOLA_WEBKIT_ERRORS'], 'a', encoding='utf-8', buffering=1)
    Gtk.init()
    context = WebKit2.WebContext.new_ephemeral()
    context.set_automation_allowed(True)
    views = []

    def write(_manager, message):
        errors.write(message_text(message).replace('\n', ' ') + '\n')

    def create_view(_session):
        content = WebKit2.UserContentManager()
        content.add_script(WebKit2.UserScript.new(WATCH, WebKit2.UserContentInjectedFrames.ALL_FRAMES,
                                                  WebKit2.UserScriptInjectionTime.START, None, None))
        content.connect(f'script-message-received::{HANDLER}', write)
        content.register_script_message_handler(HANDLER)
        view = WebKit2.WebView(web_context=context, user_content_manager=content, is_controlled_by_automation=True)
        window = Gtk.Window()
        window.add(view)
        view.connect('close', lambda _view: window.destroy())
        window.show_all()
        views.append(view)
        return view

    def started(_context, session):
        info = WebKit2.ApplicationInfo.new()
        info.set_name(NAME)
        info.set_version(WebKit2.get_major_version(), WebKit2.get_minor_version(), WebKit2.get_micro_version())
        session.set_application_info(info)
        session.connect('create-web-view', create_view)

    context.connect('automation-started', started)
    Gtk.main()


if __name__ == '__main__':
    main()
