'use strict';
// The live feed of the display (/ws): pictures as binary messages, the state as JSON text.
// Reconnects after a break; a full house (close code 4013) is retried after a longer pause.

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
  full: '視聴者が多すぎます。しばらくしてから自動で再接続します。',
};

// The view types of the audience screen, as the console's buttons name them.
const trqViewNames = ['Clean', 'Title', 'Judge', 'Heat', 'Final', 'Ready（結果）', 'Go !（表彰）', 'Msg'];
