// The page's own lines about itself (a kept file dropped or not kept, a
// page the browser paused or discarded), one visible line each, under the
// controls below or beside the game's window, never over it; the game's own
// notices are the controls' (controls.js).
'use strict';
window.Trotix = window.Trotix || {};

Trotix.say = function (text) {
  const lines = document.getElementById('page-lines');
  const line = document.createElement('p');
  line.textContent = text;
  lines.append(line);
  lines.hidden = false;
  if (window.trotixLayout) window.trotixLayout.fit();  // the panel grew
};

// A name from outside (a file's) isolated from the words around it, so that
// a right-to-left mark in it cannot turn the line around.
Trotix.isolate = (name) => `\u2068${name}\u2069`;
