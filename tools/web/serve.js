// A static server for the built site, on 127.0.0.1 only.
//   node tools/web/serve.js SITE_DIR [PORT]   (PORT 0: any free one, printed)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.json': 'application/json',
};

function serve(root, port, ready) {
  const base = path.resolve(root);
  const server = http.createServer((req, res) => {
    const url = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    const file = path.join(base, url.endsWith('/') ? url + 'index.html' : url);
    if (!file.startsWith(base + path.sep)) { res.writeHead(403).end(); return; }
    fs.readFile(file, (err, data) => {
      if (err) { res.writeHead(404).end(); return; }
      res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                           'Cache-Control': 'no-cache' });
      res.end(data);
    });
  });
  server.listen(port, '127.0.0.1', () => ready(server));
  return server;
}

module.exports = { serve };

if (require.main === module) {
  const root = process.argv[2];
  if (!root) { console.error('usage: node serve.js SITE_DIR [PORT]'); process.exit(2); }
  serve(root, Number(process.argv[3] || 8000), (server) => {
    console.log(`http://127.0.0.1:${server.address().port}/`);
  });
}
