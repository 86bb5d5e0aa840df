'use strict';
// The interval list as the page's own list box. Phones and tablets draw a
// <select size=4> as a one-line picker, so the list is made of rows that
// look and work alike on every device: one Tab stop (the chosen row),
// arrows, Home and End, a tap or click on a row. It only reports a choice;
// which row is chosen is what the core shows through show().
function createListBox(id, name, items, choose) {
    const box = document.createElement('div');
    box.id = id;
    box.setAttribute('role', 'listbox');
    box.setAttribute('aria-label', name);
    const rows = items.map((text, index) => {
        const row = document.createElement('div');
        row.id = `${id}-${index}`;
        row.setAttribute('role', 'option');
        row.textContent = text;
        row.addEventListener('click', () => choose(index));
        return row;
    });
    box.append(...rows);

    // The row the core last showed chosen, as the rows themselves say it.
    const chosen = () => rows.findIndex(row => row.getAttribute('aria-selected') === 'true');
    const Keys = {
        ArrowUp: () => chosen() - 1,
        ArrowDown: () => chosen() + 1,
        Home: () => 0,
        End: () => rows.length - 1,
    };
    box.addEventListener('keydown', event => {
        const target = Keys[event.key];
        if (!target || event.altKey || event.ctrlKey || event.metaKey)
            return;
        // The arrows would otherwise scroll the page.
        event.preventDefault();
        const index = Math.min(Math.max(target(), 0), rows.length - 1);
        if (index !== chosen())
            choose(index);
    });

    function show(index) {
        const hadFocus = box.contains(document.activeElement);
        rows.forEach((row, at) => {
            row.setAttribute('aria-selected', String(at === index));
            row.tabIndex = at === Math.max(index, 0) ? 0 : -1;
        });
        if (hadFocus)
            rows[Math.max(index, 0)].focus();
    }

    return {element: box, show};
}
