// The window and the panel placed on the page as layout_plan.ts reckons
// them; nothing ever covers the window. The tickets and the lab, when
// open, stand under both, and the page scrolls down to them. On a page too small for both, the
// page scrolls.
import { labPlace, plan } from './layout_plan';

let laidOutAt = 0;  // the device pixel ratio of the last layout

// The width is the page's less any scroll bar, and a scroll bar comes and
// goes with the layout: one that the old places needed (the page shrank,
// the panel grew) and the new ones do not is gone after the first pass.
export function fit(): void {
  const width = document.documentElement.clientWidth;
  placeAll(width);
  if (document.documentElement.clientWidth !== width) placeAll(document.documentElement.clientWidth);
}

export const laidOutRatio = (): number => laidOutAt;

function placeAll(width: number): void {
  const canvas = document.getElementById('window') as HTMLCanvasElement;
  const panel = document.getElementById('panel') as HTMLElement;
  const ratio = window.devicePixelRatio || 1;
  laidOutAt = ratio;
  document.body.classList.remove('beside');
  panel.style.width = `${width}px`;
  const place = plan({ width, height: innerHeight, ratio, windowWidth: canvas.width, windowHeight: canvas.height,
                       panelBelow: panel.hidden ? 0 : panel.offsetHeight, panelShown: !panel.hidden });
  document.body.classList.toggle('beside', place.beside);
  panel.style.width = `${place.panelWidth}px`;
  panel.style.left = `${place.panelLeft}px`;
  panel.style.top = `${place.panelTop}px`;
  // Chromium paints a canvas's box at whole CSS pixels, which at a ratio
  // of 2 or 3 puts columns a device pixel off; a transform is carried out
  // in device pixels. The box is the window's own size, scaled.
  canvas.style.width = `${canvas.width}px`;
  canvas.style.height = `${canvas.height}px`;
  canvas.style.transform = `translate(${place.left}px, ${place.top}px) scale(${place.scale / ratio})`;

  // The tickets, then the lab, each under what stands above it.
  let bottom = Math.max(place.top + place.height, panel.offsetTop + panel.offsetHeight);
  for (const id of ['tickets', 'lab']) {
    const section = document.getElementById(id) as HTMLElement;
    if (section.hidden) continue;
    const at = labPlace(width, bottom);
    section.style.left = `${at.left}px`;
    section.style.width = `${at.width}px`;
    section.style.top = `${at.top}px`;
    bottom = at.top + section.offsetHeight;
  }
}

// Lays the page out again when it is resized, and when its device pixel
// ratio changes (a zoom, another screen), which fires no resize everywhere:
// a media query on the present ratio hears it.
export function watchLayout(): void {
  addEventListener('resize', fit);
  const watchRatio = (): void => {
    matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener('change', () => {
      fit();
      watchRatio();
    }, { once: true });
  };
  watchRatio();
}
