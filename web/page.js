// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Starts the game in the page with Qt's loader (qtloader.js): a progress bar
// while rumida.wasm downloads, the game's windows on the canvas once it runs,
// and a message in place of the game when it cannot start or has ended.
'use strict';

(function () {
  const canvas = document.getElementById('screen');
  const loading = document.getElementById('loading');
  const status = document.getElementById('status');
  const progress = document.getElementById('progress');
  const message = document.getElementById('message');
  const again = document.getElementById('again');
  // The size of rumida.wasm as it unpacks, written in by the packaging: the
  // progress counts the bytes the browser hands over, after any gzip or
  // brotli a server sends them with.
  const wasmBytes = Number(document.documentElement.dataset.wasmBytes) || 0;
  // Offline play (service-worker.js) where the browser gives this page
  // service workers: on https or on this machine, never from a file. Where
  // it does not, the page plays online and says nothing of it.
  const workers = window.isSecureContext && /^https?:$/.test(location.protocol) && 'serviceWorker' in navigator
                  ? navigator.serviceWorker : null;
  const offlineStatus = document.getElementById('offline');

  function showMessage(text, detail, button) {
    document.getElementById('message-text').textContent = text;
    document.getElementById('message-detail').textContent = detail || '';
    again.hidden = !button;
    if (button)
      again.textContent = button;
    loading.hidden = true;
    canvas.hidden = true;
    message.hidden = false;
    rumidaPage.stop();
  }
  again.addEventListener('click', function () { location.reload(); });

  if (typeof WebAssembly !== 'object' || typeof QtLoader !== 'function') {
    showMessage('このブラウザーは WebAssembly に対応していないため、ルミダを遊べません。',
                '新しいブラウザーでこのページを開いてください。');
    return;
  }

  status.textContent = '読み込んでいます…';
  if (wasmBytes > 0 && window.ReadableStream && window.TransformStream) {
    progress.hidden = false;
    // Qt's loader fetches the program itself: its download is counted on the way.
    const fetchFromNetwork = window.fetch.bind(window);
    window.fetch = function (resource, options) {
      return fetchFromNetwork(resource, options).then(function (response) {
        if (!String(resource).endsWith('.wasm') || !response.ok || !response.body)
          return response;
        let received = 0;
        const counting = new TransformStream({
          transform: function (chunk, controller) {
            received += chunk.byteLength;
            progress.value = Math.min(received / wasmBytes, 1);
            controller.enqueue(chunk);
          }
        });
        return new Response(response.body.pipeThrough(counting),
                            {status: response.status, statusText: response.statusText,
                             headers: response.headers});
      });
    };
  }

  const loader = QtLoader({
    canvasElements: [canvas],
    // Qt 6.4's own input context, made for touch screens only, moves the
    // browser's focus to a field off the page and, on Android, types every
    // key twice: none is loaded, and the page's field (page-input.js) takes
    // its place.
    environment: {QT_IM_MODULE: 'none'},
    showLoader: function (state) {
      status.textContent = state === 'Compiling' ? '起動しています…' : '読み込んでいます…';
    },
    showCanvas: function () {
      loading.hidden = true;
      rumidaPage.start();
      keepForOffline();
      return canvas;
    },
    showError: function (text) {
      if (!loader.webGLSupported) {
        showMessage('このブラウザーでは WebGL が使えないため、ルミダを遊べません。',
                    'ブラウザーのハードウェア アクセラレーションを有効にしてください。');
      } else {
        showMessage('ルミダを読み込めませんでした。', String(text || ''), 'もう一度読み込む');
      }
    },
    showExit: function () {
      if (loader.crashed)
        showMessage('ルミダが異常終了しました。', String(loader.exitText || ''), 'もう一度遊ぶ');
    },
  });
  // The game says when the player has ended it (its quit confirmation).
  window.addEventListener('rumida-ended', function () {
    showMessage('ルミダを終了しました。', '', 'もう一度遊ぶ');
  });
  // Qt takes the canvas's size for its screen: tell it when the page's changes.
  window.addEventListener('resize', function () {
    if (loader.status === 'Running')
      loader.resizeCanvasElement(canvas);
  });
  takeOverThenLoad(function () { loader.loadEmscriptenModule('rumida'); });

  // A version kept since the last load (its worker waiting) takes over before
  // the game loads, and the page loads again from it: a load never takes the
  // page from one version and the program from another. Calls load otherwise.
  function takeOverThenLoad(load) {
    if (!workers || !workers.controller)
      return load();
    workers.getRegistration().then(function (registration) {
      const waiting = registration && registration.waiting;
      if (!waiting)
        return load();
      let loaded = false;
      workers.addEventListener('controllerchange', function () {
        if (!loaded)
          location.reload();
      });
      waiting.postMessage('take-over');
      // A browser that does not hand over at once (it may wait until the
      // old worker is idle) plays this version; the next open the new one.
      setTimeout(function () {
        loaded = true;
        load();
      }, 2000);
    }, load);
  }

  // Once the game runs, its files are kept for offline play (the browser
  // has most of them at hand by then), and the footer says when they are.
  function keepForOffline() {
    if (!workers)
      return;
    // Said in the console only: the page plays on as before.
    function notKept(reason) {
      console.warn('Rumida cannot be kept for offline play, and plays online: ' + reason);
    }
    workers.addEventListener('message', function (event) {
      if (event.data && event.data.offline === 'failed')
        notKept(event.data.reason);
    });
    workers.register('service-worker.js').then(function (registration) {
      workers.ready.then(function () {
        offlineStatus.textContent = ' ・ オフラインでも遊べます';
      });
      registration.addEventListener('updatefound', function () {
        const next = registration.installing;
        next.addEventListener('statechange', function () {
          if (next.state === 'installed' && workers.controller)
            offlineStatus.textContent = ' ・ 新しい版は次に開いたときに始まります';
        });
      });
    }, function (error) {
      notKept(error.message);
    });
  }
})();
