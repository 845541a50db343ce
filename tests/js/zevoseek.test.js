// zevoseek.php, the pseudo-streaming script copied next to the page in pseudo-streaming mode, run
// in PHP's built-in web server from a scratch folder that also holds files it must not serve.
"use strict";

const {describe, test, before, after} = require("node:test");
const assert = require("node:assert");
const childProcess = require("node:child_process");
const crypto = require("node:crypto");
const fs = require("node:fs");
const net = require("node:net");
const os = require("node:os");
const path = require("node:path");

const SCRIPT = path.join(__dirname, "..", "..", "support", "swfs", "zevoseek.php");
const FLV_HEADER = Buffer.from([0x46, 0x4c, 0x56, 0x01, 0x05, 0, 0, 0, 0x09, 0, 0, 0, 0]);
const SECRET = Buffer.from("FLV secret outside the web folder\n");

const php = childProcess.spawnSync("php", ["--version"]);
const phpMissing = php.error || php.status !== 0
    ? "php is not installed (Debian package php-cli; scripts/install-deps installs it)"
    : false;

// A made-up video: a real FLV header, then bytes that make every position distinguishable.
function makeVideo(size) {
    return Buffer.concat([FLV_HEADER, crypto.randomBytes(size - FLV_HEADER.length)]);
}

function freePort() {
    return new Promise((resolve, reject) => {
        const probe = net.createServer();
        probe.on("error", reject);
        probe.listen(0, "127.0.0.1", () => {
            const port = probe.address().port;
            probe.close(() => resolve(port));
        });
    });
}

async function waitUntilServing(url, server) {
    for (let attempt = 0; attempt < 100; attempt++) {
        if (server.exitCode !== null)
            throw new Error("php -S ended with code " + server.exitCode);
        try {
            await fetch(url);
            return;
        } catch (e) {
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
    }
    throw new Error("php -S did not answer at " + url);
}

describe("zevoseek.php", {skip: phpMissing}, () => {
    let root;
    let server;
    let base;
    const video = makeVideo(1000);
    const upperCase = makeVideo(64);

    before(async () => {
        // root/secret.flv and root/www/{zevoseek.php, videos, other files}; www is served.
        root = fs.mkdtempSync(path.join(os.tmpdir(), "zevoseek-"));
        const www = path.join(root, "www");
        fs.mkdirSync(path.join(www, "sub"), {recursive: true});
        fs.copyFileSync(SCRIPT, path.join(www, "zevoseek.php"));
        fs.writeFileSync(path.join(www, "video.flv"), video);
        fs.writeFileSync(path.join(www, "My Clip 2.FLV"), upperCase);
        fs.writeFileSync(path.join(www, "notes.txt"), SECRET);
        fs.writeFileSync(path.join(www, "other.php"), "<?php echo 'FLV secret run';\n");
        fs.writeFileSync(path.join(www, "sub", "inner.flv"), SECRET);
        fs.writeFileSync(path.join(root, "secret.flv"), SECRET);
        fs.symlinkSync(path.join(root, "secret.flv"), path.join(www, "link.flv"));
        // Links that stay inside the folder: only one that ends at a video may be served.
        fs.writeFileSync(path.join(www, "config.php"), "<?php $password = 'FLV secret';\n");
        fs.symlinkSync("config.php", path.join(www, "cfg.flv"));
        fs.symlinkSync("notes.txt", path.join(www, "notes.flv"));
        fs.symlinkSync("sub", path.join(www, "folder.flv"));
        fs.symlinkSync("video.flv", path.join(www, "alias.flv"));
        childProcess.execFileSync("mkfifo", [path.join(www, "pipe.flv")]);

        const port = await freePort();
        base = `http://127.0.0.1:${port}/zevoseek.php`;
        server = childProcess.spawn("php", ["-S", `127.0.0.1:${port}`, "-t", www],
                                    {stdio: "ignore"});
        await waitUntilServing(base, server);
    });

    after(() => {
        if (server)
            server.kill();
        if (root)
            fs.rmSync(root, {recursive: true, force: true});
    });

    async function get(query) {
        const response = await fetch(base + query);
        return {
            status: response.status,
            type: response.headers.get("content-type"),
            length: response.headers.get("content-length"),
            body: Buffer.from(await response.arrayBuffer()),
        };
    }

    function assertVideo(answer, expected) {
        assert.strictEqual(answer.status, 200);
        assert.strictEqual(answer.type, "video/x-flv");
        assert.strictEqual(answer.length, String(expected.length));
        assert.ok(answer.body.equals(expected), "body differs from the expected bytes");
    }

    const wholeFileStarts = [
        ["no start", ""],
        ["empty", "&start="],
        ["zero", "&start=0"],
        ["zeros", "&start=000"],
        ["negative", "&start=-400"],
        ["not a number", "&start=abc"],
        ["digits then letters", "&start=400abc"],
        ["blank before", "&start=%20400"],
        ["plus sign", "&start=%2B400"],
        ["exponent", "&start=4e2"],
        ["hexadecimal", "&start=0x190"],
        ["fraction", "&start=400.5"],
        ["file size", "&start=1000"],
        ["beyond the file", "&start=5000"],
        ["beyond any integer", "&start=99999999999999999999999999"],
        ["array", "&start[]=400"],
    ];
    for (const [name, start] of wholeFileStarts) {
        test(`start ${name}: the whole file`, async () => {
            assertVideo(await get("?file=video.flv" + start), video);
        });
    }

    const partialStarts = [
        ["middle", "400", 400],
        ["leading zeros", "000400", 400],
        ["first byte after the header", "13", 13],
        ["one", "1", 1],
        ["last byte", "999", 999],
    ];
    for (const [name, start, offset] of partialStarts) {
        test(`start ${name}: FLV header then the rest from byte ${offset}`, async () => {
            const expected = Buffer.concat([FLV_HEADER, video.subarray(offset)]);
            assertVideo(await get(`?file=video.flv&start=${start}`), expected);
        });
    }

    test("a link to a video of the same folder is served", async () => {
        assertVideo(await get("?file=alias.flv&start=400"),
                    Buffer.concat([FLV_HEADER, video.subarray(400)]));
    });

    test("an upper-case extension and blanks in the name are served", async () => {
        assertVideo(await get("?file=My%20Clip%202.FLV&start=20"),
                    Buffer.concat([FLV_HEADER, upperCase.subarray(20)]));
    });

    const refused = [
        ["missing video", "?file=missing.flv"],
        ["no file", ""],
        ["empty name", "?file="],
        ["parent folder", "?file=../secret.flv"],
        ["parent folder with backslash", "?file=..%5Csecret.flv"],
        ["subfolder", "?file=sub/inner.flv"],
        ["absolute path", null],  // filled in with the real path below
        ["link out of the folder", "?file=link.flv"],
        ["link to a PHP file of the folder", "?file=cfg.flv"],
        ["link to a text file of the folder", "?file=notes.flv"],
        ["link to a subfolder", "?file=folder.flv"],
        ["named pipe", "?file=pipe.flv"],
        ["text file", "?file=notes.txt"],
        ["PHP file", "?file=other.php"],
        ["the script itself", "?file=zevoseek.php"],
        ["trailing NUL", "?file=notes.txt%00.flv"],
        ["trailing line break", "?file=video.flv%0A"],
        ["array", "?file[]=video.flv"],
    ];
    for (const [name, query] of refused) {
        test(`refused: ${name}`, async () => {
            const q = query !== null ? query
                                     : "?file=" + encodeURIComponent(path.join(root, "secret.flv"));
            const answer = await get(q + "&start=5");
            assert.strictEqual(answer.status, 404);
            assert.notStrictEqual(answer.type, "video/x-flv");
            assert.ok(!answer.body.toString("latin1").includes("FLV"), "served: " + answer.body);
        });
    }
});
