// An HTTP proxy for the browsers whose requests a test cannot intercept (Firefox over WebDriver
// BiDi, WebKit over classic WebDriver): the pages' request for jQuery on the public
// content-delivery network is answered with the npm copy, requests for 127.0.0.1 go on to their
// local server, and anything else is refused and noted in `blocked`.
import {createServer, request} from 'node:http';

import {jquery, JQUERY_PATH} from './browser.mjs';

const LOCAL = new Set(['127.0.0.1', 'localhost']);

export async function startCdnProxy() {
    const blocked = [];
    const server = createServer((req, res) => {
        let target;
        try {
            target = new URL(req.url);
        } catch {
            res.writeHead(400).end();
            return;
        }
        if (target.hostname === 'ajax.googleapis.com' && target.pathname === JQUERY_PATH) {
            res.writeHead(200, {'Content-Type': 'application/javascript'}).end(jquery());
        } else if (LOCAL.has(target.hostname)) {
            forward(req, res, target);
        } else {
            blocked.push(target.href);
            res.writeHead(403).end();
        }
    });
    // Secure addresses arrive as CONNECT: none of them is local.
    server.on('connect', (req, socket) => {
        blocked.push(`https://${req.url}`);
        socket.end('HTTP/1.1 403 Forbidden\r\n\r\n');
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    return {
        port: server.address().port,
        blocked,
        close: () => {
            server.closeAllConnections();
            return new Promise((done) => server.close(done));
        },
    };
}

function forward(req, res, target) {
    const headers = {...req.headers};
    delete headers['proxy-connection'];
    const onward = request(
        {
            host: '127.0.0.1',
            port: target.port || 80,
            method: req.method,
            path: target.pathname + target.search,
            headers,
        },
        (answer) => {
            res.writeHead(answer.statusCode, answer.headers);
            answer.pipe(res);
        });
    // A media element that stops reading closes its side: the onward request goes with it.
    onward.on('error', () => res.destroy());
    res.on('close', () => onward.destroy());
    req.pipe(onward);
}
