// Where the game's window and the panel of controls stand. The window is
// drawn at the largest whole number of device pixels per window pixel that
// leaves room for the panel, below the window or beside it, whichever gives
// the larger window; nothing ever covers it. The lab, when open, stands under
// both, and the page scrolls down to it. Its corner sits on a whole
// device pixel, so every window pixel is the same square of device pixels
// at any device pixel ratio. On a page too small for both, the page scrolls.
'use strict';
window.trotixLayout = (function () {
  const canvas = document.getElementById('window');
  const panel = document.getElementById('panel');
  const lab = document.getElementById('lab');
  const labWidth = 760;   // CSS px of the lab at most, as wide as its tables
  const gap = 8;          // CSS px between the window and the panel beside it
  const sideWidth = 200;  // CSS px of the panel beside the window

  function scaleFor(widthPx, heightPx, ratio) {
    return Math.max(1, Math.floor(Math.min(widthPx * ratio / canvas.width, heightPx * ratio / canvas.height)));
  }

  let laidOutAt = 0;  // the device pixel ratio of the last layout
  // The width is the page's less any scroll bar, and a scroll bar comes and
  // goes with the layout: one that the old places needed (the page shrank,
  // the panel grew) and the new ones do not is gone after the first pass.
  function fit() {
    const width = document.documentElement.clientWidth;
    placeAll(width);
    if (document.documentElement.clientWidth !== width) placeAll(document.documentElement.clientWidth);
  }
  function placeAll(width) {
    const ratio = window.devicePixelRatio || 1;
    laidOutAt = ratio;
    const height = innerHeight;
    const place = (css) => Math.max(0, Math.floor(css * ratio)) / ratio;  // on a whole device pixel

    document.body.classList.remove('beside');
    panel.style.width = width + 'px';
    const below = panel.hidden ? 0 : panel.offsetHeight;
    const belowScale = scaleFor(width, height - below, ratio);
    const besideScale = panel.hidden ? 0 : scaleFor(width - sideWidth - gap, height, ratio);
    const beside = besideScale > belowScale;
    const scale = beside ? besideScale : belowScale;
    const windowWidth = canvas.width * scale / ratio;
    const windowHeight = canvas.height * scale / ratio;

    let left, top;
    if (beside) {
      document.body.classList.add('beside');
      panel.style.width = sideWidth + 'px';
      left = place((width - windowWidth - sideWidth - gap) / 2);
      top = place((height - windowHeight) / 2);
      panel.style.left = left + windowWidth + gap + 'px';
      panel.style.top = top + 'px';
    } else {
      left = place((width - windowWidth) / 2);
      top = place((height - windowHeight - below) / 2);
      panel.style.left = '0px';
      panel.style.top = top + windowHeight + 'px';
    }
    // Chromium paints a canvas's box at whole CSS pixels, which at a ratio
    // of 2 or 3 puts columns a device pixel off; a transform is carried out
    // in device pixels. The box is the window's own size, scaled.
    canvas.style.width = canvas.width + 'px';
    canvas.style.height = canvas.height + 'px';
    canvas.style.transform = `translate(${left}px, ${top}px) scale(${scale / ratio})`;

    if (!lab.hidden) {
      const wide = Math.max(0, Math.min(labWidth, width - 2 * gap));
      lab.style.left = Math.floor((width - wide) / 2) + 'px';
      lab.style.width = wide + 'px';
      lab.style.top = Math.ceil(Math.max(top + windowHeight, panel.offsetTop + panel.offsetHeight)) + gap + 'px';
    }
  }

  addEventListener('resize', fit);
  // A change of device pixel ratio (a zoom, another screen) fires no resize
  // everywhere; a media query on the present ratio hears it.
  (function watchRatio() {
    matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener('change', () => {
      fit();
      watchRatio();
    }, { once: true });
  })();
  return { fit, ratio: () => laidOutAt };
})();
