// SPDX-License-Identifier: GPL-3.0-or-later
// Runs Learning Locker's xAPI statement service (npm package xapi-statements, pinned in
// package-lock.json) in memory on 127.0.0.1 for the results tests. The service asks an outside
// endpoint who a client is; a small endpoint here answers for the one key and secret given.
//   LRS_PORT (0: a free one), LRS_KEY, LRS_SECRET, LRS_CONTROL (a folder, optional)
// Prints "lrs listening on PORT" once the service takes statements. With LRS_CONTROL it also writes
// the port to the file "port" there, and ends when a file "stop" appears there: a program under
// Wine reads neither the output nor the end of a process of the host's own.
'use strict';
const http = require('http');
const net = require('net');
const os = require('os');
const path = require('path');
const fs = require('fs');

const key = process.env.LRS_KEY || 'velmora';
const secret = process.env.LRS_SECRET || 'secret';
const expected = 'Basic ' + Buffer.from(key + ':' + secret).toString('base64');

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const port = server.address().port;
      server.close(() => resolve(port));
    });
  });
}

const client = {
  _id: '58fe13e34effd3c26a7fc4b7',
  title: 'Velmora tests',
  authority: {objectType: 'Agent', mbox: 'mailto:velmora-tests@example.org'},
  isTrusted: true,
  lrs_id: '58fe13e34effd3c26a7fc4b7',
  organisation: '58fe13e34effd3c26a7fc4b6',
  scopes: ['all'],
};

// A folder named by a program under Wine, as the host sees it: drive Z: is the host's root, the
// other drives are folders of the Wine prefix.
function hostPath(given) {
  const drive = given && process.platform !== 'win32' && /^([A-Za-z]):[\\/]/.exec(given);
  if (!drive) {
    return given;
  }
  const rest = given.slice(2).replace(/\\/g, '/');
  if (drive[1].toLowerCase() === 'z') {
    return rest;
  }
  const prefix = process.env.WINEPREFIX || path.join(os.homedir(), '.wine');
  return path.join(prefix, 'drive_' + drive[1].toLowerCase(), rest);
}

async function main() {
  const authServer = http.createServer((req, res) => {
    if (req.headers.authorization === expected) {
      res.writeHead(200, {'Content-Type': 'application/json'});
      res.end(JSON.stringify(client));
    } else {
      res.writeHead(404);
      res.end();
    }
  });
  await new Promise((resolve) => authServer.listen(0, '127.0.0.1', resolve));
  const port = Number(process.env.LRS_PORT) || (await freePort());
  const storage = fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-lrs-'));
  Object.assign(process.env, {
    EXPRESS_PORT: String(port),
    AUTH_REPO: 'fetch',
    LL_CLIENT_INFO_ENDPOINT: `http://127.0.0.1:${authServer.address().port}/auth`,
    MODELS_REPO: 'memory',
    STORAGE_REPO: 'local',
    EVENTS_REPO: 'test',
    FS_LOCAL_STORAGE_DIR: storage,
    EXPRESS_MORGAN_DIRECTORY: path.join(storage, 'accessLogs'),
    WINSTON_CONSOLE_LEVEL: 'error',
    SERVICE_AWAIT_UPDATES: 'true',
  });
  // The service listens on every interface; the tests reach it on 127.0.0.1 only.
  const listen = http.Server.prototype.listen;
  http.Server.prototype.listen = function (p, ...rest) {
    return p === port ? listen.call(this, p, '127.0.0.1', ...rest) : listen.call(this, p, ...rest);
  };
  require('xapi-statements/dist/server');
  const wait = () => {
    const probe = net.connect(port, '127.0.0.1', () => {
      probe.end();
      console.log(`lrs listening on ${port}`);
      const control = hostPath(process.env.LRS_CONTROL);
      if (control) {
        fs.writeFileSync(path.join(control, 'port.part'), String(port));
        fs.renameSync(path.join(control, 'port.part'), path.join(control, 'port'));
        setInterval(() => fs.existsSync(path.join(control, 'stop')) && process.exit(0), 50);
      }
    });
    probe.on('error', () => setTimeout(wait, 50));
  };
  wait();
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
