// The page's own controls around the game's window, in the page's words:
// Run, Field, Horse file…, Forget and Help, the distance for screen readers,
// the result board read out when a race ends, and the lines that tell the
// player about the horse file, a test mode or a page that cannot run. What
// they show is asked of the game after every handler (refresh); what they
// do is the game's own handlers, passed in by page.js.
'use strict';
window.trotixControls = (function () {
  const byId = (id) => document.getElementById(id);
  const canvas = byId('window');
  const panel = byId('panel');
  const run = byId('run');
  const field = byId('field');
  const distance = byId('distance');
  const board = byId('board-text');
  const help = byId('help');
  const fileLine = byId('field-file-line');
  const fileName = byId('field-file-name');
  const fileWhen = byId('field-file-when');
  const forget = byId('forget-file');
  const notice = byId('field-file-notice');
  const fit = () => window.trotixLayout.fit();

  // A control that cannot act now stays in the tab order, so pressing Run
  // does not throw the keyboard's focus back to the top of the page.
  function enable(button, on) {
    button.setAttribute('aria-disabled', on ? 'false' : 'true');
  }
  const enabled = (button) => button.getAttribute('aria-disabled') !== 'true';

  const pictureNames = {
    start: 'Trotix, the race window: the field at the start, the distance bar and the Run button',
    racing: 'Trotix, the race window: the race under way, the distance bar and the greyed Run button',
    board: 'Trotix, the race window: the result board, read out below, and the Run button',
  };
  let lastBoard = '';
  let runWasEnabled = true;
  let forNextRace = false;

  // After every handler: the buttons, the distance and the board as the game
  // has them now.
  function refresh(game) {
    const runEnabled = game.runEnabled();
    enable(run, runEnabled);
    enable(field, game.listingOffered());
    const metres = game.distance();
    distance.setAttribute('aria-valuenow', String(Math.min(Math.max(metres, 0), Number(distance.getAttribute('aria-valuemax')))));
    distance.setAttribute('aria-valuetext', `${Math.max(metres, 0)} m to run`);
    const text = game.boardText();
    if (text !== lastBoard) {
      board.textContent = text;  // the live region reads it out, once
      lastBoard = text;
    }
    canvas.setAttribute('aria-label', pictureNames[text !== '' ? 'board' : runEnabled ? 'start' : 'racing']);
    // A file chosen during a race was waiting for this Run.
    if (forNextRace && runWasEnabled && !runEnabled) {
      forNextRace = false;
      fileWhen.textContent = '';
    }
    runWasEnabled = runEnabled;
  }

  // The horse file in use, with a word when it waits for the next race.
  function showChosen(name, nextRace) {
    fileName.textContent = name;
    forNextRace = name !== '' && nextRace;
    fileWhen.textContent = forNextRace ? ' (from the next race)' : '';
    fileLine.hidden = name === '';
    forget.hidden = name === '';
    fit();
  }

  // The game's line about a file, with the file's name isolated, so that no
  // character of a name can turn the game's words around.
  function showNotice(text, name) {
    const body = byId('field-file-notice-text');
    body.textContent = '';
    if (name !== '' && text.startsWith(name)) {
      const isolated = document.createElement('bdi');
      isolated.textContent = name;
      body.append(isolated, text.slice(name.length));
    } else {
      body.textContent = text;
    }
    notice.hidden = text === '';
    fit();
  }
  byId('dismiss-notice').addEventListener('click', () => {
    showNotice('', '');
    byId('choose-file').focus();
  });

  function openHelp() {
    if (!help.open) help.showModal();
  }
  byId('help-button').addEventListener('click', openHelp);

  // One visible line when the page cannot run the game.
  function showTrouble(text) {
    byId('loading').hidden = true;
    canvas.hidden = true;
    const line = byId('trouble');
    line.textContent = text;
    line.hidden = false;
  }

  function showReady(testMode) {
    byId('loading').hidden = true;
    byId('test-mode').hidden = !testMode;
    panel.hidden = false;
    fit();
  }

  return {
    refresh, showChosen, showNotice, openHelp, showTrouble, showReady, enabled,
    helpOpen: () => help.open,
    run, field, forget,
    chooseButton: byId('choose-file'),
  };
})();
