// Runs first and is written for the oldest browsers (no arrow, no const),
// so that one too old for the page still runs it and says so, rather than
// failing further on for a cause the page would then name wrongly. It
// checks what the page and its core use that older browsers lack: the
// core's glue needs Promise, Symbol and Object.assign, the page builds its
// controls with append.
var PimbolaSupported = (function () {
    var needs = [window.Promise, window.Symbol, Object.assign, window.Element && Element.prototype.append];
    for (var i = 0; i < needs.length; i++) {
        if (typeof needs[i] !== 'function')
            return false;
    }
    return true;
}());
// Something to read from the first paint on: what the page is doing, or
// why it cannot.
document.getElementById(PimbolaSupported ? 'loading' : 'too-old').removeAttribute('hidden');
if (!PimbolaSupported)
    document.documentElement.setAttribute('data-ready', 'failed');
