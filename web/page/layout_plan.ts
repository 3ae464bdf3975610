// Where the game's window and the panel of controls stand, as arithmetic:
// the window is drawn at the largest whole number of device pixels per
// window pixel that leaves room for the panel, below the window or beside
// it, whichever gives the larger window; its corner sits on a whole device
// pixel, so every window pixel is the same square of device pixels at any
// device pixel ratio. Lengths are CSS px unless named device pixels.

export const labWidth = 760;   // the lab at most, as wide as its tables
export const gap = 8;          // between the window and the panel beside it
export const sideWidth = 200;  // the panel beside the window

export interface Page {
  width: number;        // the page less any scroll bar
  height: number;
  ratio: number;        // device pixels per CSS px
  windowWidth: number;  // the game's window in its own pixels
  windowHeight: number;
  panelBelow: number;   // the panel's height when it stands below; 0 when hidden
  panelShown: boolean;
}

export interface Plan {
  beside: boolean;
  scale: number;  // device pixels per window pixel, whole
  left: number;   // the window's corner, on a whole device pixel
  top: number;
  width: number;  // the window's size on the page
  height: number;
  panelLeft: number;
  panelTop: number;
  panelWidth: number;
}

// The largest whole scale at which the window fits the box, at least 1.
export function scaleFor(page: Page, width: number, height: number): number {
  return Math.max(1, Math.floor(Math.min(width * page.ratio / page.windowWidth, height * page.ratio / page.windowHeight)));
}

// A length rounded down to a whole device pixel.
export const onDevicePixel = (css: number, ratio: number): number => Math.max(0, Math.floor(css * ratio)) / ratio;

export function plan(page: Page): Plan {
  const belowScale = scaleFor(page, page.width, page.height - page.panelBelow);
  const besideScale = page.panelShown ? scaleFor(page, page.width - sideWidth - gap, page.height) : 0;
  const beside = besideScale > belowScale;
  const scale = beside ? besideScale : belowScale;
  const width = page.windowWidth * scale / page.ratio;
  const height = page.windowHeight * scale / page.ratio;
  if (beside) {
    const left = onDevicePixel((page.width - width - sideWidth - gap) / 2, page.ratio);
    const top = onDevicePixel((page.height - height) / 2, page.ratio);
    return { beside, scale, left, top, width, height, panelLeft: left + width + gap, panelTop: top, panelWidth: sideWidth };
  }
  const left = onDevicePixel((page.width - width) / 2, page.ratio);
  const top = onDevicePixel((page.height - height - page.panelBelow) / 2, page.ratio);
  return { beside, scale, left, top, width, height, panelLeft: 0, panelTop: top + height, panelWidth: page.width };
}

// The lab under both: as wide as its tables or the page less its margins.
export function labPlace(pageWidth: number, below: number): { left: number; width: number; top: number } {
  const width = Math.max(0, Math.min(labWidth, pageWidth - 2 * gap));
  return { left: Math.floor((pageWidth - width) / 2), width, top: Math.ceil(below) + gap };
}
