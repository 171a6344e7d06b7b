// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// A static web server for the page on this machine (127.0.0.1 only): the
// files as they are, with their types, and a file's .br or .gz copy where the
// browser accepts it, as a web host that serves pre-compressed files does.
//   node web/serve.mjs <folder> [port]      (make web-serve)
// The browser tests start it from their own code (serve()).
import {createReadStream, existsSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {extname, join, normalize, resolve, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
  '.ico': 'image/vnd.microsoft.icon', '.png': 'image/png', '.svg': 'image/svg+xml',
  '.txt': 'text/plain; charset=utf-8', '.ttf': 'font/ttf', '.zip': 'application/zip',
  '.webmanifest': 'application/manifest+json',
};

// Serves folder on 127.0.0.1:port (0: any free port); resolves to the server.
// refuse(path) may answer 404 for a file that is there (a failed download).
// A host that serves the files only as they are (precompressed: false) sends
// a .br or .gz copy only when it is asked for by its name, as any file.
// requests, when given, gets the path of every request.
export function serve(folder, port = 0, refuse = () => false, {precompressed = true, requests = null} = {}) {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    requests?.push(path);
    let file = normalize(join(root, path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    if (existsSync(file) && statSync(file).isDirectory())
      file = join(file, 'index.html');
    if (!existsSync(file) || refuse(path)) {
      response.writeHead(404, {'Content-Type': 'text/plain'}).end('not found');
      return;
    }
    const headers = {'Content-Type': types[extname(file)] || 'application/octet-stream',
                     'Cache-Control': 'no-cache', 'Vary': 'Accept-Encoding'};
    const accepted = String(request.headers['accept-encoding'] || '');
    for (const [encoding, suffix] of precompressed ? [['br', '.br'], ['gzip', '.gz']] : []) {
      if (accepted.includes(encoding) && existsSync(file + suffix)) {
        headers['Content-Encoding'] = encoding;
        file += suffix;
        break;
      }
    }
    headers['Content-Length'] = statSync(file).size;
    response.writeHead(200, headers);
    if (request.method === 'HEAD')
      response.end();
    else
      createReadStream(file).pipe(response);
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node web/serve.mjs <folder> [port]');
    process.exit(2);
  }
  const server = await serve(folder, Number(port || 8080));
  console.log(`Rumida is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
