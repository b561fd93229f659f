#include "platform/web/webeditorscript.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
// Attributes a hostile document could use to act by itself once shown (a refresh that moves
// the view, markup that grants editing) are parked under a name of ours while shown and put
// back in every read: the document keeps them, the view never obeys them.
const char* const kEditorCode = R"JS(
(function () {
  if (window.orlixEditor) { return; }
  var E = window.orlixEditor = { bridge: null, doctype: '', editing: false, lock: null };
  var parked = [['http-equiv', 'data-orlix-http-equiv'],
                ['contenteditable', 'data-orlix-contenteditable']];
  try {
    new QWebChannel(qt.webChannelTransport, function (ch) {
      E.bridge = ch.objects.orlixEditorBridge;
      E.notify();
    });
  } catch (e) {}
  try {
    E.lock = new CSSStyleSheet();
    E.lock.replaceSync('*{-webkit-user-modify:read-only !important}');
  } catch (e) { E.lock = null; }
  // A print made while editing would carry the caret: the caret is drawn clear for the print
  // alone, leaving the document, its selection and its undo history as they are.
  try {
    E.clearCaret = new CSSStyleSheet();
    E.clearCaret.replaceSync('*{caret-color:transparent !important}');
  } catch (e) { E.clearCaret = null; }

  function park(root) {
    parked.forEach(function (p) {
      root.querySelectorAll('[' + p[0] + ']').forEach(function (el) {
        el.setAttribute(p[1], el.getAttribute(p[0]));
        el.removeAttribute(p[0]);
      });
    });
  }
  function unpark(root) {
    parked.forEach(function (p) {
      var all = Array.prototype.slice.call(root.querySelectorAll('[' + p[1] + ']'));
      if (root.hasAttribute(p[1])) { all.push(root); }
      all.forEach(function (el) {
        el.setAttribute(p[0], el.getAttribute(p[1]));
        el.removeAttribute(p[1]);
      });
    });
  }

  // Switching the document's mode drops the selection once the engine has taken the switch
  // in: the user's is put back by restoreSelection, run after it.
  E.setEditing = function (on) {
    var sel = window.getSelection();
    E.kept = sel && sel.rangeCount > 0 ? sel.getRangeAt(0).cloneRange() : null;
    E.editing = !!on;
    document.designMode = E.editing ? 'on' : 'off';
    if (E.lock) {
      try { document.adoptedStyleSheets = E.editing ? [] : [E.lock]; } catch (e) {}
    }
    E.notify();
    return E.editing;
  };
  E.printing = function (on) {
    if (!E.clearCaret) { return false; }
    try {
      var sheets = Array.prototype.filter.call(document.adoptedStyleSheets,
        function (sheet) { return sheet !== E.clearCaret; });
      if (on) { sheets.push(E.clearCaret); }
      document.adoptedStyleSheets = sheets;
    } catch (e) { return false; }
    return true;
  };
  E.restoreSelection = function () {
    var kept = E.kept;
    E.kept = null;
    if (!kept) { return false; }
    var sel = window.getSelection();
    sel.removeAllRanges();
    sel.addRange(kept);
    return true;
  };

  // The engine inserts a typed key only where an element holds the document's focus. A
  // document in design mode that got the focus from the program or the keyboard, not from a
  // click, has none, and its keys are dropped: its body takes the focus, the caret kept.
  E.focusBody = function () {
    if (!E.editing || !document.body || document.querySelector(':focus')) {
      return false;
    }
    var sel = window.getSelection();
    var kept = sel && sel.rangeCount > 0 ? sel.getRangeAt(0).cloneRange() : null;
    document.body.focus({ preventScroll: true });
    if (kept) {
      sel.removeAllRanges();
      sel.addRange(kept);
    }
    return true;
  };

  E.write = function (html, editing) {
    var d = new DOMParser().parseFromString(html, 'text/html');
    E.doctype = d.doctype ? new XMLSerializer().serializeToString(d.doctype) : '';
    park(d);
    var root = document.adoptNode(d.documentElement);
    document.replaceChild(root, document.documentElement);
    E.setEditing(editing);
    return true;
  };

  E.html = function () {
    var copy = document.documentElement.cloneNode(true);
    unpark(copy);
    return E.doctype + copy.outerHTML;
  };

  E.text = function () { return document.body ? document.body.innerText : ''; };

  E.bodyStyle = function (pairs) {
    if (!document.body) { return false; }
    for (var i = 0; i + 1 < pairs.length; i += 2) {
      document.body.style.setProperty(pairs[i], pairs[i + 1]);
    }
    return true;
  };

  // Whether a text node's element shows the style: computed, as the user sees it.
  var tests = {
    bold: function (el) { return parseInt(getComputedStyle(el).fontWeight, 10) >= 600; },
    italic: function (el) { return getComputedStyle(el).fontStyle !== 'normal'; },
    underline: function (el) { return decorated(el, 'underline'); },
    strikeThrough: function (el) { return decorated(el, 'line-through'); }
  };
  function decorated(el, line) {
    for (var n = el; n && n.nodeType === 1; n = n.parentNode) {
      if (getComputedStyle(n).textDecorationLine.indexOf(line) >= 0) { return true; }
    }
    return false;
  }
  // 1 all of the selected text, -1 part of it, 0 none; a caret: what typing would give.
  function styleOf(name, sel) {
    if (!sel || sel.rangeCount === 0 || sel.isCollapsed) {
      try { return document.queryCommandState(name) ? 1 : 0; } catch (e) { return 0; }
    }
    var range = sel.getRangeAt(0);
    var root = range.commonAncestorContainer;
    var nodes = [];
    if (root.nodeType === 3) {
      nodes.push(root);
    } else {
      var w = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
      for (var t = w.nextNode(); t && nodes.length < 5000; t = w.nextNode()) {
        if (range.intersectsNode(t)) { nodes.push(t); }
      }
    }
    var on = false, off = false;
    for (var i = 0; i < nodes.length && !(on && off); i++) {
      if (!/\S/.test(nodes[i].data) || !nodes[i].parentElement) { continue; }
      if (tests[name](nodes[i].parentElement)) { on = true; } else { off = true; }
    }
    if (!on && !off) {
      try { return document.queryCommandState(name) ? 1 : 0; } catch (e) { return 0; }
    }
    return on && off ? -1 : (on ? 1 : 0);
  }
  function valueOf(command) {
    try { return String(document.queryCommandValue(command) || ''); } catch (e) { return ''; }
  }
  function enabled(command) {
    try { return document.queryCommandEnabled(command); } catch (e) { return false; }
  }

  E.state = function () {
    var sel = window.getSelection();
    return {
      bold: styleOf('bold', sel), italic: styleOf('italic', sel),
      underline: styleOf('underline', sel), strikeThrough: styleOf('strikeThrough', sel),
      face: valueOf('fontName'), size: parseInt(valueOf('fontSize'), 10) || 0,
      selection: !!(sel && sel.rangeCount > 0 && !sel.isCollapsed),
      undo: E.editing && enabled('undo'), redo: E.editing && enabled('redo')
    };
  };
  E.notify = function () {
    if (E.bridge) { E.bridge.selectionChanged(E.state()); }
  };

  // The engine's list commands rebuild the paragraph from copies of its nodes and leave the
  // caret at the start of the new item, so typing after "bullets" at the end of a line would
  // land at its start. The selection is kept as points on the document's lines and put back
  // where the text is unchanged. A point is its line and its offset in that line's text: a
  // bare text offset cannot tell the end of a line from the start of the empty line Enter
  // made below it.
  var blockTags = /^(ADDRESS|ARTICLE|ASIDE|BLOCKQUOTE|BODY|CAPTION|CENTER|DD|DIV|DL|DT|FIELDSET|FIGCAPTION|FIGURE|FOOTER|FORM|H[1-6]|HEADER|HR|LI|MAIN|NAV|OL|P|PRE|SECTION|TABLE|TBODY|TD|TFOOT|TH|THEAD|TR|UL)$/;
  function isBlock(el) {
    if (blockTags.test(el.tagName)) { return true; }
    var d = getComputedStyle(el).display;
    return d === 'block' || d === 'list-item' || d.indexOf('table') === 0 || d === 'flex' ||
           d === 'grid';
  }
  // The lines of the body in order: the runs of content between block edges and line breaks,
  // each from its start point to its end point with the text nodes in it. A run with no text
  // shows as a line only when a line break closes it (the empty line Enter leaves is
  // "<div><br></div>"); runs of blanks between blocks show nothing.
  function linesOf(body) {
    var lines = [];
    var run = { start: [body, 0], texts: [], shown: false };
    function close(node, offset, broken) {
      run.end = [node, offset];
      if (broken || run.shown) { lines.push(run); }
      run = { start: [node, offset], texts: [], shown: false };
    }
    function walk(parent) {
      for (var i = 0; i < parent.childNodes.length; i++) {
        var n = parent.childNodes[i];
        if (n.nodeType === 3) {
          run.texts.push(n);
          if (/\S/.test(n.data)) { run.shown = true; }
        } else if (n.nodeType === 1) {
          if (n.tagName === 'BR') {
            close(parent, i, true);
            run.start = [parent, i + 1];
          } else if (isBlock(n)) {
            close(parent, i, false);
            run.start = [n, 0];
            walk(n);
            close(n, n.childNodes.length, false);
            run.start = [parent, i + 1];
          } else {
            if (n.tagName === 'IMG') { run.shown = true; }
            walk(n);
          }
        }
      }
    }
    walk(body);
    close(body, body.childNodes.length, false);
    return lines;
  }
  function before(a, b) { // point a is at or before point b
    var r = document.createRange();
    r.setStart(a[0], a[1]);
    return r.comparePoint(b[0], b[1]) >= 0;
  }
  function lineOffset(lines, node, offset) {
    for (var i = 0; i < lines.length; i++) {
      var l = lines[i];
      if (before(l.start, [node, offset]) && before([node, offset], l.end)) {
        var r = document.createRange();
        r.setStart(l.start[0], l.start[1]);
        r.setEnd(node, offset);
        return { line: i, offset: r.toString().length };
      }
    }
    return null;
  }
  function pointOnLine(line, count) {
    for (var i = 0; i < line.texts.length; i++) {
      var t = line.texts[i];
      if (count <= t.length) { return [t, count]; }
      count -= t.length;
    }
    var last = line.texts[line.texts.length - 1];
    return last ? [last, last.length] : line.start;
  }
  function keptOffsets() {
    var sel = window.getSelection();
    if (!document.body || !sel || sel.rangeCount === 0) { return null; }
    var r = sel.getRangeAt(0);
    if (!document.body.contains(r.startContainer) || !document.body.contains(r.endContainer)) {
      return null;
    }
    var lines = linesOf(document.body);
    var start = lineOffset(lines, r.startContainer, r.startOffset);
    var end = lineOffset(lines, r.endContainer, r.endOffset);
    if (!start || !end) { return null; }
    return { start: start, end: end, lines: lines.length, text: document.body.textContent };
  }
  function putBack(kept) {
    if (!kept || !document.body || document.body.textContent !== kept.text) { return; }
    var lines = linesOf(document.body);
    if (lines.length !== kept.lines) { return; }
    var a = pointOnLine(lines[kept.start.line], kept.start.offset);
    var b = pointOnLine(lines[kept.end.line], kept.end.offset);
    var r = document.createRange();
    r.setStart(a[0], a[1]);
    r.setEnd(b[0], b[1]);
    var sel = window.getSelection();
    sel.removeAllRanges();
    sel.addRange(r);
  }

  E.exec = function (command, value) {
    if (!E.editing) { return false; }
    var list = command === 'insertUnorderedList' || command === 'insertOrderedList';
    var kept = list ? keptOffsets() : null;
    var done = document.execCommand(command, false, value === undefined ? null : value);
    if (list) { putBack(kept); }
    E.notify();
    return done;
  };

  E.selectAll = function () {
    if (!document.body) { return false; }
    var sel = window.getSelection();
    sel.removeAllRanges();
    var range = document.createRange();
    range.selectNodeContents(document.body);
    sel.addRange(range);
    return true;
  };

  // Pasted markup keeps its look and text; nothing in it may run or fetch.
  var dropped = 'script,noscript,iframe,frame,frameset,object,embed,applet,meta,link,base,' +
                'form,input,button,textarea,select,template,svg,math';
  function clean(root) {
    root.querySelectorAll(dropped).forEach(function (el) { el.remove(); });
    root.querySelectorAll('*').forEach(function (el) {
      Array.prototype.slice.call(el.attributes).forEach(function (a) {
        var name = a.name.toLowerCase();
        var value = a.value.replace(/[\s\u0000-\u001f]/g, '').toLowerCase();
        if (name.indexOf('on') === 0 || name === 'contenteditable' || name === 'srcdoc' ||
            name === 'formaction' || name === 'srcset' ||
            ((name === 'href' || name === 'src' || name === 'action' || name === 'xlink:href') &&
             !/^(https?:|mailto:|#|data:image\/(png|gif|jpeg|webp);)/.test(value) &&
             /^[a-z][a-z0-9+.\-]*:/.test(value))) {
          el.removeAttribute(a.name);
        }
      });
    });
  }
  E.clean = function (html) {
    var d = new DOMParser().parseFromString(html, 'text/html');
    clean(d);
    return d.body ? d.body.innerHTML : '';
  };
  document.addEventListener('paste', function (e) {
    if (!E.editing) { e.preventDefault(); return; }
    var data = e.clipboardData;
    var html = data ? data.getData('text/html') : '';
    if (!html) { return; }
    e.preventDefault();
    document.execCommand('insertHTML', false, E.clean(html));
  }, true);
  document.addEventListener('drop', function (e) {
    if (!E.editing) { e.preventDefault(); }
  }, true);
  // The state first, so that the program's answer to the edit sees the new undo step.
  document.addEventListener('input', function () {
    E.notify();
    if (E.bridge) { E.bridge.edited(); }
  }, true);
  document.addEventListener('selectionchange', function () { E.notify(); });
})();
)JS";

QString channelLibrary() {
    static const QString source = [] {
        QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return source;
}
} // namespace

namespace WebEditorScript {

QString Setup() {
    return QStringLiteral("if(!window.orlixEditor){") + channelLibrary() + QLatin1Char('\n') +
           QString::fromUtf8(kEditorCode) + QStringLiteral("}\n");
}

QString Literal(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // "[" literal "]"
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace WebEditorScript
