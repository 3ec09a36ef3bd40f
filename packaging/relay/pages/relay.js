'use strict';
// The relay's feeds. now and heats come as EventSource (JSON text; the newest message at once,
// and after a break the browser itself connects again). The picture comes by long-poll GET: each
// answer is the PNG, and the next request names the one it has (Etag, Last-Modified), so it is
// answered with the next picture, or at once with the newest when it missed some. (The relay's
// WebSocket would send a PNG as a text frame, which a browser refuses.)

function trqFeed(channel, onMessage, onStatus) {
  let delay = 1000;
  function open() {
    const source = new EventSource('/sub/' + channel);
    source.onopen = () => { delay = 1000; if (onStatus) onStatus('live'); };
    source.onmessage = (e) => {
      let value;
      try { value = JSON.parse(e.data); } catch (err) { return; }
      onMessage(value);
    };
    source.onerror = () => {
      if (onStatus) onStatus('offline');
      // A refused connection (429, 5xx) is not retried by the browser: we do, more slowly.
      if (source.readyState === EventSource.CLOSED) {
        setTimeout(open, delay);
        delay = Math.min(delay * 2, 30000);
      }
    };
  }
  open();
}

// The pages' data, the same calls as on the hall's own server (live.js): the state from the now
// channel, and a couple's next heat from the heats channel (every back number's, its minutes
// counted from when it came; a number not in it has no heat to come).
function trqState(onState, onStatus) {
  trqFeed('now', onState, onStatus);
}

let trqHeats = null;
let trqHeatsSince = 0;
let trqHeatsAsk = null;
function trqNextHeat(n, state, answer) {
  if (trqHeatsAsk === null) {
    trqFeed('heats', (h) => {
      trqHeats = h;
      trqHeatsSince = Date.now();
      trqHeatsAsk();
    });
  }
  trqHeatsAsk = () => {
    if (!trqHeats) return;
    const h = (trqHeats.numbers || {})[String(n)];
    if (!h) { answer({ status: 'none' }); return; }
    const passed = Math.floor((Date.now() - trqHeatsSince) / 60000);
    answer(Object.assign({}, h, { minutes: Math.max(0, h.minutes - passed) }));
  };
  trqHeatsAsk();
}

function trqPictureFeed(img, onStatus) {
  let etag = null;
  let modified = null;
  let delay = 1000;
  async function poll() {
    const headers = {};
    if (etag) headers['If-None-Match'] = etag;
    if (modified) headers['If-Modified-Since'] = modified;
    try {
      const r = await fetch('/sub/picture', { cache: 'no-store', headers });
      if (r.status === 200) {
        etag = r.headers.get('Etag');
        modified = r.headers.get('Last-Modified');
        trqShowPicture(img, await r.blob());
        delay = 1000;
        if (onStatus) onStatus('live');
        poll();
        return;
      }
      if (r.status === 304 || r.status === 408) {  // waited long enough: ask again
        poll();
        return;
      }
    } catch (err) {}
    if (onStatus) onStatus('offline');
    setTimeout(poll, delay);
    delay = Math.min(delay * 2, 30000);
  }
  poll();
}

// Shows a picture (a Blob) in img and lets the one before it go.
function trqShowPicture(img, blob) {
  const previous = img.dataset.url;
  const url = URL.createObjectURL(blob);
  img.src = url;
  img.dataset.url = url;
  if (previous) URL.revokeObjectURL(previous);
}

const trqStatusText = {
  live: '',
  offline: '接続が切れました。再接続しています…',
};
