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

const FLVMDI = process.env.VIDLARK_FLVMDI ??
    path.join(__dirname, "..", "..", "build", "app", "flvmdi");

// The real-video case needs ffmpeg with libx264 and the built injector.
function realVideoMissing() {
    if (!fs.existsSync(FLVMDI))
        return `the injector is not built (${FLVMDI})`;
    const encoders = childProcess.spawnSync("ffmpeg", ["-hide_banner", "-encoders"],
                                            {encoding: "utf8"});
    if (encoders.error || !/\blibx264\b/.test(encoders.stdout ?? ""))
        return "ffmpeg with libx264 is not installed";
    return false;
}

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


// Hand-built FLVs: tags with their previous-tag sizes, payloads that make each tag unique.
function tag(type, timestamp, payload) {
    const head = Buffer.alloc(11);
    head[0] = type;
    head.writeUIntBE(payload.length, 1, 3);
    head.writeUIntBE(timestamp & 0xffffff, 4, 3);
    head[7] = timestamp >>> 24;
    const trailer = Buffer.alloc(4);
    trailer.writeUInt32BE(11 + payload.length);
    return Buffer.concat([head, payload, trailer]);
}

const bytes = (...values) => Buffer.concat([Buffer.from(values), crypto.randomBytes(20)]);
const metaTag = () => tag(18, 0, Buffer.concat([
    Buffer.from([0x02, 0x00, 0x0a]), Buffer.from("onMetaData"),
    Buffer.from([0x08, 0, 0, 0, 1, 0x00, 0x01, 0x78, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x09])
]));
const cueTag = () => tag(18, 0, Buffer.concat([
    Buffer.from([0x02, 0x00, 0x0a]), Buffer.from("onCuePoint"), Buffer.from([0x05])
]));
// AVC (codec 7) keyframe/inter frame, packet type 0 = sequence header, 1 = picture.
const avcConfig = () => tag(9, 0, bytes(0x17, 0x00, 0, 0, 0, 0x01, 0x64, 0x00, 0x0d));
const avcKey = (ms) => tag(9, ms, bytes(0x17, 0x01, 0, 0, 0));
const avcInter = (ms) => tag(9, ms, bytes(0x27, 0x01, 0, 0, 0x28));
// AAC (sound format 10), packet type 0 = AudioSpecificConfig, 1 = raw frame.
const aacConfig = () => tag(8, 0, Buffer.from([0xaf, 0x00, 0x12, 0x10]));
const aacFrame = (ms) => tag(8, ms, bytes(0xaf, 0x01));
// Sorenson H.263 (codec 2) and MP3 (format 2): no configuration tags.
const h263Key = (ms) => tag(9, ms, bytes(0x12, 0x00, 0x00, 0x84));
const h263Inter = (ms) => tag(9, ms, bytes(0x22, 0x00, 0x00, 0x86));
const mp3Frame = (ms) => tag(8, ms, bytes(0x2f, 0xff, 0xfb));

// Each case: the file's tags, the index of the tag the request starts at, and the indices of the
// tags the answer must carry between the FLV header and the tags from there (null: none, the
// answer is the header and the file from the start position, as for any other video).
const headCases = [
    {name: "H.264 and AAC: metadata and both sequence headers",
     tags: [metaTag(), avcConfig(), aacConfig(), avcKey(0), aacFrame(0), avcInter(40),
            aacFrame(23), avcKey(1000), aacFrame(1000), avcInter(1040)],
     start: 7, head: [0, 1, 2]},
    {name: "H.264 without sound: metadata and the AVC sequence header",
     tags: [metaTag(), avcConfig(), avcKey(0), avcInter(40), avcKey(1000), avcInter(1040)],
     start: 4, head: [0, 1]},
    {name: "AAC without picture: metadata and the AAC sequence header",
     tags: [metaTag(), aacConfig(), aacFrame(0), aacFrame(23), aacFrame(46)],
     start: 3, head: [0, 1]},
    {name: "H.263 and MP3: nothing added",
     tags: [metaTag(), h263Key(0), mp3Frame(0), h263Inter(40), mp3Frame(26), h263Key(1000),
            mp3Frame(1000)],
     start: 5, head: null},
    {name: "sequence header after the first picture is not part of the head",
     tags: [metaTag(), avcConfig(), avcKey(0), aacConfig(), aacFrame(0), avcKey(1000),
            aacFrame(1000)],
     start: 5, head: [0, 1]},
    {name: "start exactly at the first picture",
     tags: [metaTag(), avcConfig(), aacConfig(), avcKey(0), aacFrame(0), avcInter(40)],
     start: 3, head: [0, 1, 2]},
    {name: "start at the AAC sequence header: only the tags before it",
     tags: [metaTag(), avcConfig(), aacConfig(), avcKey(0), aacFrame(0), avcInter(40)],
     start: 2, head: [0, 1]},
    {name: "start at the first tag: nothing is sent twice",
     tags: [metaTag(), avcConfig(), avcKey(0), avcInter(40)],
     start: 0, head: null},
    {name: "no metadata tag: the sequence headers alone",
     tags: [avcConfig(), aacConfig(), avcKey(0), aacFrame(0), avcKey(1000), aacFrame(1000)],
     start: 4, head: [0, 1]},
    {name: "metadata behind a cue point is not sent",
     tags: [cueTag(), metaTag(), avcConfig(), avcKey(0), avcKey(1000)],
     start: 4, head: [2]},
];

function buildFile(tags) {
    const offsets = [];
    let at = FLV_HEADER.length;
    for (const t of tags) {
        offsets.push(at);
        at += t.length;
    }
    return {bytes: Buffer.concat([FLV_HEADER, ...tags]), offsets};
}

// Damaged heads: the answer is the header and the file from the start position, as before.
function damagedFiles() {
    const good = buildFile([metaTag(), avcConfig(), aacConfig(), avcKey(0), avcKey(1000)]);
    const start = good.offsets[4];
    const cases = [];
    const longMeta = Buffer.from(good.bytes);
    longMeta.writeUIntBE(0xfffff0, good.offsets[0] + 1, 3);
    cases.push(["metadata tag longer than the file", longMeta, start]);
    const wrongTrailer = Buffer.from(good.bytes);
    wrongTrailer.writeUInt32BE(7, good.offsets[2] - 4);
    cases.push(["wrong previous-tag size behind the AVC sequence header", wrongTrailer, start]);
    const unknownType = Buffer.from(good.bytes);
    unknownType[good.offsets[2]] = 0x28;  // an encrypted audio tag
    cases.push(["encrypted tag in the head", unknownType, start]);
    const badOffset = Buffer.from(good.bytes);
    badOffset.writeUInt32BE(5000, 5);
    cases.push(["header size beyond the head", badOffset, start]);
    // Cut inside the AAC sequence header, the start inside the AVC one's successor.
    const cut = good.bytes.subarray(0, good.offsets[2] + 6);
    cases.push(["file cut off inside the head", cut, good.offsets[2] + 2]);
    return cases;
}

describe("zevoseek.php", {skip: phpMissing}, () => {
    let root;
    let server;
    let base;
    const video = makeVideo(1000);
    const upperCase = makeVideo(64);
    const damaged = damagedFiles();

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
        headCases.forEach((c, n) => {
            c.file = buildFile(c.tags);
            fs.writeFileSync(path.join(www, `head${n}.flv`), c.file.bytes);
        });
        damaged.forEach(([, bytes], n) => fs.writeFileSync(path.join(www, `damaged${n}.flv`), bytes));

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


    headCases.forEach((c, n) => {
        test(`head tags, ${c.name}`, async () => {
            const {bytes, offsets} = c.file;
            const start = offsets[c.start];
            const head = (c.head ?? []).map((i) => c.tags[i]);
            const expected = Buffer.concat([FLV_HEADER, ...head, bytes.subarray(start)]);
            assertVideo(await get(`?file=head${n}.flv&start=${start}`), expected);
        });
    });

    test("head tags: an H.264 file without a start is sent whole", async () => {
        assertVideo(await get("?file=head0.flv"), headCases[0].file.bytes);
    });

    damaged.forEach(([name, bytes, start], n) => {
        test(`damaged head, ${name}: header and the file from the start`, async () => {
            assertVideo(await get(`?file=damaged${n}.flv&start=${start}`),
                        Buffer.concat([FLV_HEADER, bytes.subarray(start)]));
        });
    });

    // A real H.264 + AAC video with flvmdi's metadata: what a seek answers must be a stream a
    // decoder reads from its first byte, starting on a keyframe.
    test("an ffmpeg H.264 video after a seek decodes without errors", {skip: realVideoMissing()},
         async () => {
        const folder = path.join(root, "www");
        const video = path.join(folder, "real.flv");
        childProcess.execFileSync("ffmpeg", [
            "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
            "testsrc=size=160x90:rate=25:duration=4", "-f", "lavfi", "-i",
            "sine=frequency=440:duration=4", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-g", "25",
            "-c:a", "aac", "-f", "flv", video]);
        childProcess.execFileSync(FLVMDI, ["/k", "/l", video]);
        const {readMetadata} = await import("../e2e/lib/flvMetadata.mjs");
        const {keyframes} = readMetadata(video);
        assert.ok(keyframes.filepositions.length >= 3, "too few keyframes: " + keyframes.times);
        const start = keyframes.filepositions[2];
        const answer = await get(`?file=real.flv&start=${start}`);
        assert.strictEqual(answer.status, 200);
        assert.strictEqual(answer.length, String(answer.body.length));
        const saved = path.join(root, "answer.flv");
        fs.writeFileSync(saved, answer.body);

        const decode = childProcess.spawnSync("ffmpeg", [
            "-hide_banner", "-v", "error", "-i", saved, "-f", "null", "-"], {encoding: "utf8"});
        assert.strictEqual(decode.status, 0, decode.stderr);
        assert.strictEqual(decode.stderr, "", "decoding the answer reported errors");
        const probe = childProcess.spawnSync("ffprobe", [
            "-v", "error", "-select_streams", "v", "-read_intervals", "%+#1", "-show_entries",
            "packet=dts_time,flags:frame=key_frame,pict_type:stream=codec_name", "-of", "json",
            saved], {encoding: "utf8"});
        assert.strictEqual(probe.stderr, "", "ffprobe reported errors");
        const {packets_and_frames: items, streams} = JSON.parse(probe.stdout);
        assert.strictEqual(streams[0].codec_name, "h264");
        const packet = items.find((item) => item.type === "packet");
        const frame = items.find((item) => item.type === "frame");
        assert.ok(packet.flags.startsWith("K"), "the first packet is no keyframe");
        assert.strictEqual(frame.key_frame, 1);
        assert.strictEqual(frame.pict_type, "I");
        // The tag's time is the decoding time; B-frames put the picture's own time later.
        assert.ok(Math.abs(Number(packet.dts_time) - keyframes.times[2]) < 0.005,
                  `the first picture is decoded at ${packet.dts_time} s, the keyframe at ` +
                  `${keyframes.times[2]} s`);
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
