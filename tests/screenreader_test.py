"""Drives the real program by keyboard alone under Orca and checks, from
Orca's debug log, what a screen reader user hears (screenreader.py). Run
inside speech_session.sh.
    screenreader_test.py PROGRAM"""

import re
import sys

import screenreader
from screenreader import key

# The row of 3 with its recitation: expression, answer, first and second half.
ROW_OF_3 = [
    ('３×１', '３', 'さんいちが', 'さん'), ('３×２', '６', 'さんにが', 'ろく'),
    ('３×３', '９', 'さざんが', 'く'), ('３×４', '１２', 'さんし', 'じゅうに'),
    ('３×５', '１５', 'さんご', 'じゅうご'), ('３×６', '１８', 'さぶろく', 'じゅうはち'),
    ('３×７', '２１', 'さんしち', 'にじゅういち'), ('３×８', '２４', 'さんぱ', 'にじゅうし'),
    ('３×９', '２７', 'さんく', 'にじゅうしち'),
]
STEPS = [text for expression, answer, first, second in ROW_OF_3
         for text in (expression + '　＝　' + first, answer + '　' + first + '　' + second)]
STEPS.append('ぜんぶ　おしまいです')

# The program's notification asking for a text to be said, logged once as
# the event reaches Orca: appearing (Qt 6.4), "EVENT MANAGER:
# (object:state-changed:showing) for [notification" in Orca 43, or
# announcing it (Qt 6.8), "EVENT MANAGER: object:announcement for
# [notification" in Orca 48, which logs the same line again with its
# priority.
SHOWN = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - EVENT MANAGER: \(?(object:state-changed:showing|object:announcement)\)?"
                   r" for \[notification(?!.* has priority level)")


def test(session):
    session.start_screen_reader()
    program = session.start('pimbola', [sys.argv[1]])
    session.said_after(0, 'タイマーで', 30, 'the first focus, on タイマーで')

    def shown(began):
        return [when for when, _ in session.logged(SHOWN) if when >= began]

    screenreader.drill_by_keyboard(session, STEPS, shown, kind='notification')

    session.tab_to('おわる')
    key('space')
    status = session.wait_for(lambda: program.poll() is not None and [program.returncode], 10, 'the program to end')
    if status != [0]:
        raise screenreader.Failure('the program ended with status %s:\n%s' % (status[0], session.output_of(program)))
    session.stop_screen_reader()
    print('Orca said every step once, in order, in a stepped and a timed run, and named the list')


screenreader.run(test)
