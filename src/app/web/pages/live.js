'use strict';
// The live feed of the display (/ws): pictures as binary messages, the state as JSON text.
// Reconnects after a break; a full house (close code 4013) is retried after a longer pause.
// A picture comes whole (a PNG) or as a patch of the parts that changed since the one before.

// The pages' data, the same calls on the relay (relay.js): the state now and after every change,
// and a couple's next heat (/next.json?no=N, asked again only when the state moved on).
function trqState(onState, onStatus) {
  fetch('/now.json').then((r) => r.json()).then(onState).catch(() => {});
  trqConnect('?state', { state: onState, status: onStatus });
}

let trqNextAsked = null;
function trqNextHeat(n, state, answer) {
  const asked = n + ':' + (state ? JSON.stringify(state.schedule && state.schedule.items[0]) : '');
  if (asked === trqNextAsked) return;
  trqNextAsked = asked;
  fetch('/next.json?no=' + n).then((r) => r.ok ? r.json() : null).then((h) => {
    if (h) answer(h);
  }).catch(() => {});
}

function trqConnect(feed, on) {
  const url = (location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/ws' + feed;
  let delay = 1000;
  function open() {
    const ws = new WebSocket(url);
    ws.onopen = () => { delay = 1000; if (on.status) on.status('live'); };
    ws.onmessage = (e) => {
      if (typeof e.data === 'string') {
        if (on.state) on.state(JSON.parse(e.data));
      } else if (on.picture) {
        on.picture(e.data);
      }
    };
    ws.onclose = (e) => {
      const full = e.code === 4013;
      if (on.status) on.status(full ? 'full' : 'offline');
      setTimeout(open, full ? 30000 : delay);
      delay = Math.min(delay * 2, 15000);
    };
  }
  open();
}

// Draws the feed's pictures (Blobs) on a canvas, one after the other: a whole picture (a PNG)
// replaces what it shows; a patch ("TRQP", then per rectangle its x, y, width and height as
// 16-bit and its PNG's length as a 32-bit number, big-endian, and the PNG) paints its rectangles
// over it in their order. canvas.dataset.frames counts the pictures shown.
function trqCanvasPicture(canvas) {
  const g = canvas.getContext('2d');
  let chain = Promise.resolve();
  async function draw(blob) {
    const bytes = new Uint8Array(await blob.arrayBuffer());
    const patch = bytes[0] === 0x54 && bytes[1] === 0x52 && bytes[2] === 0x51 && bytes[3] === 0x50;
    if (!patch) {
      const whole = await createImageBitmap(blob);
      if (canvas.width !== whole.width) canvas.width = whole.width;
      if (canvas.height !== whole.height) canvas.height = whole.height;
      g.drawImage(whole, 0, 0);
      whole.close();
    } else {
      // A patch over no picture has nothing to go on: the whole one comes first on every link.
      if (!canvas.dataset.frames) return;
      const view = new DataView(bytes.buffer);
      const parts = [];
      for (let at = 4; at + 12 <= bytes.length;) {
        const length = view.getUint32(at + 8);
        parts.push({ x: view.getUint16(at), y: view.getUint16(at + 2),
                     png: blob.slice(at + 12, at + 12 + length, 'image/png') });
        at += 12 + length;
      }
      const images = await Promise.all(parts.map((p) => createImageBitmap(p.png)));
      images.forEach((image, i) => { g.drawImage(image, parts[i].x, parts[i].y); image.close(); });
    }
    canvas.dataset.frames = String(Number(canvas.dataset.frames || 0) + 1);
  }
  return (blob) => { chain = chain.then(() => draw(blob)).catch(() => {}); };
}

const trqStatusText = {
  live: '',
  offline: '接続が切れました。再接続しています…',
  full: '視聴者が多すぎます。しばらくしてから自動で再接続します。',
};

// The view types of the audience screen, as the console's buttons name them.
const trqViewNames = ['Clean', 'Title', 'Judge', 'Heat', 'Final', 'Ready（結果）', 'Go !（表彰）', 'Msg'];
