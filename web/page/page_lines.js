// The page's own lines about itself (a kept file dropped or not kept, a
// page the browser paused or discarded), one visible line each, below the
// game's window; the game's own notices are elsewhere.
'use strict';
window.Trotix = window.Trotix || {};

Trotix.say = function (text) {
  const lines = document.getElementById('page-lines');
  const line = document.createElement('p');
  line.textContent = text;
  lines.append(line);
  lines.hidden = false;
};

// A name from outside (a file's) isolated from the words around it, so that
// a right-to-left mark in it cannot turn the line around.
Trotix.isolate = (name) => `\u2068${name}\u2069`;
