// The page's side of start-up, before the game's main runs.
// The user file's folder (XDG_DATA_HOME) is kept in the browser's IndexedDB,
// read back before main and written back whenever the game closes a file
// there or the page is hidden. engine.ini is made from the query string
// (?Windowed=0&Key1=57) and read by the game's own settings reader.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var saved = '/saved';
  ENV['XDG_DATA_HOME'] = saved;
  FS.mkdir(saved);
  FS.mount(IDBFS, {}, saved);

  var lines = [];
  var local = false;
  new URLSearchParams(location.search).forEach(function (value, key) {
    if (key === 'test') return;
    if (key === 'StoreUserDataLocally') local = true;
    lines.push(key.replace(/[\r\n=]/g, '') + '=' + value.replace(/[\r\n]/g, ''));
  });
  // The user file goes to the kept folder unless the query says otherwise.
  if (!local) lines.push('StoreUserDataLocally=0');
  FS.writeFile('/engine.ini', lines.join('\n') + '\n');

  var syncing = false, again = false;
  // The page's tests wait for quorin.saving to turn false.
  function saving(on) { if (window['quorin']) window['quorin']['saving'] = on; }
  function writeBack() {
    if (syncing) { again = true; return; }
    syncing = true;
    saving(true);
    FS.syncfs(false, function (err) {
      syncing = false;
      saving(again);
      if (err) console.warn('Quorin: saving to browser storage failed: ' + err);
      if (again) { again = false; writeBack(); }
    });
  }
  function inSaved(path) { return typeof path === 'string' && path.indexOf(saved + '/') === 0; }
  var close = FS.close, rename = FS.rename;
  FS.close = function (stream) {
    var path = stream && stream.path, writing = stream && (stream.flags & 3) !== 0;
    var result = close.apply(this, arguments);
    if (writing && inSaved(path)) writeBack();
    return result;
  };
  FS.rename = function (from, to) {
    var result = rename.apply(this, arguments);
    if (inSaved(to)) writeBack();
    return result;
  };
  function hidden() {
    if (Module['calledRun'] && Module['_quorin_page_hidden']) Module['_quorin_page_hidden']();
    writeBack();
  }
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') hidden();
  });
  window.addEventListener('pagehide', hidden);

  addRunDependency('quorin-saved');
  FS.syncfs(true, function (err) {
    if (err) console.warn('Quorin: reading browser storage failed: ' + err);
    saving(false);
    removeRunDependency('quorin-saved');
  });
});
