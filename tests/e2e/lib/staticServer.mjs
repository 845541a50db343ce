// A small web server for generated output folders: each mounted prefix ("/c1/site/") maps to one
// folder. Ranges are served because video elements fetch media by byte range.
import {createReadStream, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {extname, resolve, sep} from 'node:path';

const TYPES = {
    '.js': 'application/javascript',
    '.html': 'text/html',
    '.xml': 'text/xml',
    '.css': 'text/css',
    '.txt': 'text/plain',
    '.vtt': 'text/vtt',
    '.mp4': 'video/mp4',
    '.webm': 'video/webm',
    '.flv': 'video/x-flv',
    '.swf': 'application/x-shockwave-flash',
    '.jpg': 'image/jpeg',
};

// Parses one "bytes=a-b", "bytes=a-" or "bytes=-n" range; null when it cannot be satisfied.
export function parseRange(header, size) {
    const match = /^bytes=(\d*)-(\d*)$/.exec(header.trim());
    if (!match || (match[1] === '' && match[2] === ''))
        return null;
    let start;
    let end;
    if (match[1] === '') {
        start = Math.max(0, size - Number(match[2]));
        end = size - 1;
    } else {
        start = Number(match[1]);
        end = match[2] === '' ? size - 1 : Math.min(Number(match[2]), size - 1);
    }
    if (start > end || start >= size)
        return null;
    return {start, end};
}

export async function startServer() {
    const mounts = new Map();
    const log = [];
    const server = createServer((req, res) => {
        const url = new URL(req.url, 'http://127.0.0.1');
        const file = locate(mounts, decodeURIComponent(url.pathname));
        let stat = null;
        try {
            stat = file && statSync(file);
        } catch {
            stat = null;
        }
        if (!stat || !stat.isFile() || !['GET', 'HEAD'].includes(req.method)) {
            log.push({path: url.pathname, status: 404});
            res.writeHead(404, {'Content-Type': 'text/plain'}).end('not found');
            return;
        }
        const headers = {
            'Content-Type': TYPES[extname(file).toLowerCase()] ?? 'application/octet-stream',
            'Accept-Ranges': 'bytes',
            'Cache-Control': 'no-store',
        };
        let range = {start: 0, end: stat.size - 1};
        let status = 200;
        if (req.headers.range) {
            range = parseRange(req.headers.range, stat.size);
            if (!range) {
                log.push({path: url.pathname, status: 416});
                res.writeHead(416, {'Content-Range': `bytes */${stat.size}`}).end();
                return;
            }
            status = 206;
            headers['Content-Range'] = `bytes ${range.start}-${range.end}/${stat.size}`;
        }
        headers['Content-Length'] = stat.size === 0 ? 0 : range.end - range.start + 1;
        log.push({path: url.pathname, status});
        res.writeHead(status, headers);
        if (req.method === 'HEAD' || stat.size === 0)
            res.end();
        else
            createReadStream(file, range).pipe(res);
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    return {
        port: server.address().port,
        log,
        mount(prefix, folder) { mounts.set(prefix, resolve(folder)); },
        close: () => new Promise((done) => server.close(done)),
    };
}

function locate(mounts, pathname) {
    for (const [prefix, folder] of mounts) {
        if (!pathname.startsWith(prefix))
            continue;
        const file = resolve(folder, pathname.slice(prefix.length));
        // Nothing outside the mounted folder is served, whatever the request says.
        return file.startsWith(folder + sep) ? file : null;
    }
    return null;
}
