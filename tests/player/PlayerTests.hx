// The player's reading of its configuration and its addresses, its key map, and its judgement of
// a stream (the file's time and bytes behind a seek-script answer, the end of a download, the
// video that follows), run by Haxe's interpreter (no Flash player needed). Each table row is one
// case a generated or hand-edited file can hold, one key a visitor can press, or one moment of
// a video playing.
import KeyAction;
import PlayerConfig.DeliveryMode;
import PlayerConfig.EndAction;
import PlayerConfig.PlaylistPlace;

class PlayerTests {
    static var failures = 0;
    static var checks = 0;

    static function check(ok:Bool, what:String, ?pos:haxe.PosInfos) {
        checks++;
        if (!ok) {
            failures++;
            Sys.println('FAIL line ${pos.lineNumber}: $what');
        }
    }

    static function equal<T>(actual:T, expected:T, what:String, ?pos:haxe.PosInfos) {
        check(actual == expected, '$what: got "$actual", expected "$expected"', pos);
    }

    static function config(options:String, files:String):String {
        return '<?xml version="1.0" encoding="utf-8"?>\r\n<vidlark>\r\n<config>\r\n' + options
            + '</config>\r\n<files>\r\n' + files + '</files>\r\n</vidlark>\r\n';
    }

    static function main() {
        modeCodes();
        options();
        tints();
        endActions();
        videoLines();
        captionAttributes();
        cues();
        playlistWidths();
        decoding();
        addresses();
        keyframes();
        times();
        keys();
        keyedSeeks();
        keyedVolumes();
        muting();
        streamStarts();
        streamEnds();
        videoOrder();
        Sys.println('$checks checks, $failures failed');
        Sys.exit(failures == 0 ? 0 : 1);
    }

    static function modeCodes() {
        // code, single, playlist, valid
        var rows:Array<Array<Dynamic>> = [
            ["89", true, false, true],
            ["890000", true, false, true],
            ["97", false, true, true],
            ["970000", false, true, true],
            ["8633", false, true, true], // 89 x 97: a playlist code as well
            ["90", false, false, false],
            ["0", false, false, false],
            ["-89", false, false, false],
            ["", false, false, false],
            ["abc", false, false, false],
        ];
        for (row in rows) {
            var c = PlayerConfig.parse(config('<aa>${row[0]}</aa>\r\n', ""));
            equal(c.isSingleVideo(), row[1], 'single for aa=${row[0]}');
            equal(c.isPlaylist(), row[2], 'playlist for aa=${row[0]}');
            equal(c.hasValidModeCode(), row[3], 'valid for aa=${row[0]}');
        }
    }

    static function options() {
        var text = config("<aa>178</aa>\r\n<bb>Pseudo</bb>\r\n<cc>5</cc>\r\n<dd>Yes</dd>\r\n"
            + "<ee>No</ee>\r\n<ff>http://a.example/intro.jpg</ff>\r\n<gg>No</gg>\r\n<hh>No</hh>\r\n"
            + "<ii>150</ii>\r\n<jj>0x336699</jj>\r\n<kk>730250</kk>\r\n<ll>300</ll>\r\n<mm>Yes</mm>\r\n"
            + "<nn>Thumb</nn>\r\n<oo>Right</oo>\r\n<pp>270</pp>\r\n<qq>No</qq>\r\n<rr>No</rr>\r\n"
            + "<ss>Yes</ss>\r\n<tt>http://a.example/v/</tt>\r\n<uu>http://shop.example/?a=1&b=2</uu>\r\n"
            + "<vv>No</vv>\r\n<ab>13</ab>\r\n<ac>000</ac>\r\n", "");
        var c = PlayerConfig.parse(text);
        equal(c.delivery, Pseudo, "bb");
        equal(c.bufferSeconds, 5.0, "cc");
        equal(c.autoStart, true, "dd");
        equal(c.autoProgress, false, "ee");
        equal(c.introPicture, "http://a.example/intro.jpg", "ff");
        equal(c.outroPicture, null, "gg No");
        equal(c.bigPlayButton, false, "hh");
        equal(c.volume, 100, "ii above 100 is full volume");
        equal(c.playlistPlace, Right, "oo");
        equal(c.playlistHeight, 270, "pp");
        equal(c.embedButton, true, "ss");
        equal(c.clickThrough, "http://shop.example/?a=1&b=2", "uu with a raw ampersand");
        // A click on the picture never opens a script address: the click plays or pauses.
        for (uu in ["JaVaScRiPt:alert(1)", " javascript:alert(1)", "vbscript:x", "data:,x"])
            equal(PlayerConfig.parse('<uu>$uu</uu>').clickThrough, null, 'uu $uu');
        equal(PlayerConfig.parse("<uu>shop.html</uu>").clickThrough, "shop.html", "uu relative");
        equal(c.playlistFontSize, 13, "ab");
        equal(c.playlistTextColour, 0x000000, "ac 000");

        // An empty file, or one cut short, leaves every value at what a new project writes.
        var empty = PlayerConfig.parse("");
        equal(empty.delivery, Progressive, "bb missing");
        equal(empty.volume, 80, "ii missing");
        equal(empty.bigPlayButton, true, "hh missing");
        equal(empty.videos.length, 0, "no video lines");
        var cut = PlayerConfig.parse("<config>\r\n<bb>Rtmp</bb>\r\n<qq>rtmp://media.example/app");
        equal(cut.delivery, Rtmp, "bb before the cut");
        equal(cut.rtmpAddress, "rtmp://media.example/app", "an element whose end tag is cut off");
        // A playlist that is not visible has no place, whatever oo says.
        equal(PlayerConfig.parse("<mm>No</mm><oo>Bottom</oo>").playlistPlace, Hidden, "mm No");
        equal(PlayerConfig.parse("<mm>Yes</mm><oo>Bottom</oo>").playlistPlace, Bottom, "mm Yes");
    }

    static function tints() {
        // jj, colour, hide floating bar
        var rows:Array<Array<Dynamic>> = [
            ["0x630E0E", 0x630E0E, false],
            ["0xffcc66", 0xFFCC66, false],
            ["0x112233y", 0x112233, true],
            ["0x112233n", 0x112233, false],
            ["0x63", 0x630000, false], // a short typed text: red only
            ["0x6", 0x060000, false],
            ["0x12G456", 0x120056, false], // a pair stops at its first non-digit
            ["", 0x000000, false],
        ];
        for (row in rows) {
            var c = PlayerConfig.parse('<jj>${row[0]}</jj>');
            equal(c.tint, row[1], 'tint of ${row[0]}');
            equal(c.hideFloatingBar, row[2], 'hiding of ${row[0]}');
        }
    }

    static function endActions() {
        var rows:Array<Array<Dynamic>> = [
            ["No", EndAction.Nothing],
            ["", EndAction.Nothing],
            ["http://a.example/next.html", OpenAddress("http://a.example/next.html")],
            ["after.html", OpenAddress("after.html")],
            ["javascript:hfda0732()", CallPageFunction("hfda0732")],
            ["JavaScript:hfda0732()", CallPageFunction("hfda0732")],
            // Nothing but a plain function name is handed to the page.
            ["javascript:alert(document.cookie)", CallPageFunction("alert")],
            ["javascript:x=1;evil()", EndAction.Nothing],
            ["javascript:", EndAction.Nothing],
            // Schemes are read as a browser reads them: without case, after the blanks and
            // control characters it drops, so no spelling of a script address is opened.
            ["JaVaScRiPt:hfda0732()", CallPageFunction("hfda0732")],
            [" javascript:hfda0732()", CallPageFunction("hfda0732")],
            ["\tjava\nscript:hfda0732()", CallPageFunction("hfda0732")],
            ["\x01javascript:alert(1)", CallPageFunction("alert")],
            ["java\r\nscript:x=1;evil()", EndAction.Nothing],
            ["VBScript:MsgBox(1)", EndAction.Nothing],
            [" vbscript:MsgBox(1)", EndAction.Nothing],
            ["data:text/html,<script>alert(1)</script>", EndAction.Nothing],
            ["\x1f DATA:text/html;base64,PHNjcmlwdD4=", EndAction.Nothing],
            ["https://a.example/next.html", OpenAddress("https://a.example/next.html")],
            ["datasheet.html", OpenAddress("datasheet.html")],
            ["javascript.html", OpenAddress("javascript.html")],
        ];
        for (row in rows) {
            var c = PlayerConfig.parse('<vv>${row[0]}</vv>');
            check(Type.enumEq(c.endAction, row[1]), 'vv ${row[0]}: got ${c.endAction}');
        }
    }

    static function videoLines() {
        // line, title, desc, v1, pic
        var rows:Array<Array<String>> = [
            ['<video title="" v1="clip.flv"/>', "", "", "clip.flv", ""],
            ['<video  v1="mp4:talk.mp4"/>', "", "", "mp4:talk.mp4", ""],
            ['<video title="T" desc="D" v1="http://a.example/one.flv"  v2="http://a.example/one.mp4"  v3="http://a.example/one.webm" pic="one.jpg"/>',
                "T", "D", "http://a.example/one.flv", "one.jpg"],
            // Written unescaped by older versions: quotes and ampersands inside the values.
            ['<video title="Say "hi" & bye" desc="A "b" c" v1="x.flv"/>', 'Say "hi" & bye', 'A "b" c', "x.flv", ""],
            ['<video title="Third &amp; last" desc="Say &quot;bye&quot;" v1="three.f4v"/>',
                "Third & last", 'Say "bye"', "three.f4v", ""],
            // A title that looks like an attribute does not move the address.
            ['<video title="a v1="trap.flv" b" v1="real.flv"/>', 'a v1="trap.flv" b', "", "real.flv", ""],
            ['<video title="caf&#233; &#x89C6;" v1="c.flv"/>', "caf\u00E9 \u89C6", "", "c.flv", ""],
            ['<video title="AT&T;" v1="a.flv"/>', "AT&T;", "", "a.flv", ""],
            ['<video title="Blank end" v1="b.flv" />', "Blank end", "", "b.flv", ""],
        ];
        for (row in rows) {
            var videos = PlayerConfig.parse(config("", row[0] + "\r\n")).videos;
            equal(videos.length, 1, 'one video in ${row[0]}');
            if (videos.length != 1)
                continue;
            equal(videos[0].title, row[1], 'title of ${row[0]}');
            equal(videos[0].desc, row[2], 'desc of ${row[0]}');
            equal(videos[0].flash, row[3], 'v1 of ${row[0]}');
            equal(videos[0].pic, row[4], 'pic of ${row[0]}');
        }
        var three = PlayerConfig.parse(config("",
            '<video title="1" v1="a.flv"/>\r\n<video title="2" v1="b.flv"/>\n<video title="3" v1="c.flv"/>\r\n'));
        equal([for (v in three.videos) v.flash].join(","), "a.flv,b.flv,c.flv", "lines in order, LF or CR LF");
    }

    // The `cc` attribute, last on the line and XML-escaped as a whole: a line without it reads as
    // before, and with it the attributes before it are still found.
    static function captionAttributes() {
        // line, v1, pic, tracks as address|language|label;...
        var rows:Array<Array<String>> = [
            ['<video title="T" v1="a.flv"/>', "a.flv", "", ""],
            ['<video title="T" v1="a.flv" cc="videos/a.en.vtt|en|English"/>', "a.flv", "",
                "videos/a.en.vtt|en|English"],
            ['<video title="T" desc="D" v1="a.flv"  v2="v/a.mp4"  v3="v/a.webm" pic="a.jpg" cc="v/a.vtt|en|"/>',
                "a.flv", "a.jpg", "v/a.vtt|en|"],
            // Two tracks; `|` and `%` inside a label, and an escape that only looks like one.
            ['<video v1="c.flv" cc="videos/clip.en.vtt|en|English|videos/clip.fr.vtt|fr|Fran%7Cçais"/>', "c.flv", "",
                "videos/clip.en.vtt|en|English;videos/clip.fr.vtt|fr|Fran|çais"],
            ['<video v1="c.flv" cc="x.vtt|pt-BR|100%25 %257C sure"/>', "c.flv", "", "x.vtt|pt-BR|100% %7C sure"],
            ['<video v1="c.flv" cc="x%7Cy%25.vtt|en|A"/>', "c.flv", "", "x%7Cy%25.vtt|en|A"],
            // The whole value went through the attribute escaping.
            ['<video title="Q &quot;A&quot;" v1="q.flv" cc="q.vtt|en|Tom &amp; &quot;Jerry&quot; &lt;1&gt;"/>', "q.flv", "",
                'q.vtt|en|Tom & "Jerry" <1>'],
            // Titles with raw quotes from older versions, with and without `cc`.
            ['<video title="Say "hi"" v1="h.flv" pic="h.jpg" cc="h.vtt||"/>', "h.flv", "h.jpg", "h.vtt||"],
            ['<video title="a cc="trap.vtt|en|E" b" v1="real.flv" pic="p.jpg"/>', "real.flv", "p.jpg", ""],
            ['<video title="a cc="trap.vtt|en|E" b" v1="real.flv" cc="real.vtt|de|D"/>', "real.flv", "",
                "real.vtt|de|D"],
            // An incomplete group and a track without an address are left out.
            ['<video v1="i.flv" cc="i.vtt|en|E|j.vtt|fr"/>', "i.flv", "", "i.vtt|en|E"],
            ['<video v1="i.flv" cc="|en|E|k.vtt|it|I"/>', "i.flv", "", "k.vtt|it|I"],
            ['<video v1="e.flv" cc=""/>', "e.flv", "", ""],
        ];
        for (row in rows) {
            var videos = PlayerConfig.parse(config("", row[0] + "\r\n")).videos;
            if (videos.length != 1) {
                check(false, 'one video in ${row[0]}');
                continue;
            }
            equal(videos[0].flash, row[1], 'v1 of ${row[0]}');
            equal(videos[0].pic, row[2], 'pic of ${row[0]}');
            var tracks = [for (t in videos[0].captions) [t.address, t.language, t.label].join("|")];
            equal(tracks.join(";"), row[3], 'tracks of ${row[0]}');
        }
        var title = PlayerConfig.parse(config("", '<video title="a cc="trap.vtt|en|E" b" v1="real.flv"/>\r\n'));
        equal(title.videos[0].title, 'a cc="trap.vtt|en|E" b', "a title holding cc=");
        // The buffer element <cc> and the attribute cc= are told apart.
        var line = '<video v1="b.flv" cc="b.vtt|en|B"/>\r\n';
        equal(PlayerConfig.parse(config("<cc>7</cc>\r\n", line)).bufferSeconds, 7.0, "cc element beside cc attributes");
        equal(PlayerConfig.parse(config("", line)).bufferSeconds, 3.0, "a cc attribute is no buffer time");
        // The name a track goes by: label, else language, else a plain word.
        var names = [["l.vtt|en|English", "English"], ["l.vtt|pt-BR|", "pt-BR"], ["l.vtt||", "Captions"]];
        for (row in names)
            equal(CaptionTrack.listOf(row[0])[0].name(), row[1], 'name of ${row[0]}');
    }

    static function cues() {
        // file, cues as start-end:text (lines joined by /), separated by ;
        var rows:Array<Array<String>> = [
            ["WEBVTT\n\n00:01.000 --> 00:02.500\nHello", "1-2.5:Hello"],
            ["WEBVTT\r\n\r\n00:00:01.000 --> 00:00:02.000\r\nOne\r\nTwo\r\n", "1-2:One/Two"],
            ["WEBVTT\r\r00:01.000 --> 00:02.000\rCR only", "1-2:CR only"],
            ["\uFEFFWEBVTT - with a title\nKind: captions\n\n01:02:03.004 --> 01:02:04.000\nLate",
                "3723.004-3724:Late"],
            // Identifiers, cue settings, NOTE, STYLE and REGION blocks.
            ["WEBVTT\n\nNOTE a comment\n00:05.000 --> 00:06.000\n\nSTYLE\n::cue { color: red }\n\n"
                + "REGION\nid:r\n\ncue-1\n00:01.000 --> 00:02.000 align:start line:0 position:10%\nSet",
                "1-2:Set"],
            ["WEBVTT\n\n1\n00:01.000 --> 00:02.000\nA\n\n2\n00:03.000 --> 00:04.000\nB", "1-2:A;3-4:B"],
            // Tags go, escapes are decoded after them.
            ["WEBVTT\n\n00:01.000 --> 00:02.000\n<v Roger Bingham>We <i>are</i> <b>in</b> <c.loud>New York</c>",
                "1-2:We are in New York"],
            ["WEBVTT\n\n00:01.000 --> 00:02.000\nTom &amp; Jerry &lt;i&gt; &copy; a<00:01.500>b & c",
                "1-2:Tom & Jerry <i> &copy; ab & c"],
            // Blocks that cannot be cues are passed over, the others kept.
            ["WEBVTT\n\n00:01,000 --> 00:02,000\nComma\n\n00:03.000 --> 00:04.000\nDot", "3-4:Dot"],
            ["WEBVTT\n\n00:61.000 --> 00:62.000\nBad seconds\n\n0:01.000 --> 0:02.000\nOne digit", ""],
            ["WEBVTT\n\n00:05.000 --> 00:04.000\nBackwards\n\n00:01.000 --> 00:02.000\n", ""],
            ["WEBVTT\n\nNo timing here\nat all", ""],
            // Not a caption file at all.
            ["", ""],
            ["1\n00:00:01,000 --> 00:00:02,000\nAn SRT", ""],
            ["WEBVTTX\n\n00:01.000 --> 00:02.000\nA", ""],
            ["\x00\x01PNG\n\x1A\n00:01.000 --> 00:02.000\nBinary", ""],
        ];
        for (row in rows) {
            var read = [for (c in WebVtt.parse(row[0])) '${c.start}-${c.end}:' + c.text.split("\n").join("/")];
            equal(read.join(";"), row[1], 'cues of ${StringTools.replace(row[0], "\n", "|")}');
        }
        var overlapping = WebVtt.parse("WEBVTT\n\n00:01.000 --> 00:03.000\nFirst\n\n00:02.000 --> 00:04.000\nSecond");
        // time, text shown
        var shown:Array<Array<Dynamic>> = [[0.5, ""], [1.0, "First"], [2.5, "First\nSecond"], [3.0, "Second"], [4.0, ""]];
        for (row in shown)
            equal(WebVtt.textAt(overlapping, row[0]), row[1], 'text at ${row[0]} s');
    }

    static function playlistWidths() {
        // kk, oo, stage width, playlist width
        var rows:Array<Array<Dynamic>> = [
            ["730250", "Right", 730, 250],
            ["1000500", "Right", 1000, 500],
            ["480", "Bottom", 480, 0],
            ["730250", "Bottom", 730, 0],
            ["730250", "Right", 740, 0], // the page sized the movie otherwise: no guess
            ["730", "Right", 730, 0],
        ];
        for (row in rows) {
            var c = PlayerConfig.parse('<mm>Yes</mm><kk>${row[0]}</kk><oo>${row[1]}</oo>');
            equal(c.playlistWidth(row[2]), row[3], 'playlist width of kk ${row[0]} at ${row[1]}');
        }
    }

    static function decoding() {
        // bytes, text
        var rows:Array<Array<Dynamic>> = [
            [[0x41, 0x42], "AB"],
            [[0xC3, 0xA9], "\u00E9"], // UTF-8
            [[0xE9, 0x74, 0xE9], "\u00E9t\u00E9"], // Windows-1252
            [[0x80, 0x93, 0x94], "\u20AC\u201C\u201D"],
            [[0xEF, 0xBB, 0xBF, 0x41], "A"], // a byte-order mark is not text
            [[0xC0, 0x80], "\u00C0\u20AC"], // an overlong form is not UTF-8
            [[0xE8, 0xA7, 0x86], "\u89C6"],
        ];
        for (row in rows) {
            var list:Array<Int> = row[0];
            var bytes = haxe.io.Bytes.alloc(list.length);
            for (i in 0...list.length)
                bytes.set(i, list[i]);
            equal(TextDecoding.decode(bytes), row[1], 'decoding ${list}');
        }
    }

    static function addresses() {
        var page = "http://127.0.0.1:8080/site/page.html?x=1#top";
        // loc, page, base
        var bases:Array<Array<String>> = [
            ["", page, "http://127.0.0.1:8080/site/"],
            ["http://cdn.example/v/", page, "http://cdn.example/v/"],
            ["http://cdn.example/v", page, "http://cdn.example/v/"],
            ["media/", page, "http://127.0.0.1:8080/site/media/"],
            ["/media/", page, "http://127.0.0.1:8080/media/"],
            ["  ", "http://h.example", "http://h.example/"],
            ["", "file:///home/ann/app/temp/do-not-upload.html", "file:///home/ann/app/temp/"],
        ];
        for (row in bases)
            equal(Addresses.base(row[0], row[1]), row[2], 'base of loc "${row[0]}"');
        // address, base, resolved
        var resolved:Array<Array<String>> = [
            ["clip.flv", "http://a.example/v/", "http://a.example/v/clip.flv"],
            ["http://b.example/c.flv", "http://a.example/v/", "http://b.example/c.flv"],
            ["//b.example/c.flv", "https://a.example/v/", "https://b.example/c.flv"],
            ["/c.flv", "http://a.example:81/v/", "http://a.example:81/c.flv"],
            ["sub/c.flv", "http://a.example/v/", "http://a.example/v/sub/c.flv"],
        ];
        for (row in resolved)
            equal(Addresses.resolve(row[0], row[1]), row[2], 'resolving ${row[0]}');
        equal(Addresses.seekAddress("http://a.example/v/", "my clip&1.flv", 12345.0),
            "http://a.example/v/zevoseek.php?file=my%20clip%261.flv&start=12345", "seek address");
        equal(Addresses.isWebAddress("C:\\app\\temp\\"), false, "a local test's tt");
        equal(Addresses.isWindowsPath("C:\\app\\temp\\"), true, "a drive path");
        equal(Addresses.isWebAddress("HTTPS://a.example/"), true, "https");
        // address, whether a browser would run it as script or as a document of its own
        var scripts:Array<Array<Dynamic>> = [
            ["javascript:alert(1)", true],
            ["JaVaScRiPt:alert(1)", true],
            [" \x00\x1f javascript:alert(1)", true],
            ["j\ta\rv\na\tscript:alert(1)", true],
            ["VBScript:MsgBox(1)", true],
            ["data:text/html,x", true],
            ["\x7fjavascript:alert(1)", false], // DEL is no control character a browser drops
            ["http://a.example/", false],
            ["https://a.example/", false],
            ["page.html", false],
            ["/javascript:x", false],
            ["", false],
            [null, false],
        ];
        for (row in scripts)
            equal(Addresses.opensScript(row[0]), row[1], 'script address "${row[0]}"');
    }

    static function keyframes() {
        var k = new Keyframes([0, 2, 4, 6], [400, 9000, 18000, 27000]);
        // seconds, keyframe index
        var rows:Array<Array<Float>> = [[0, 0], [1.9, 0], [2, 1], [5.5, 2], [60, 3], [-1, -1]];
        for (row in rows)
            equal(k.indexAt(row[0]), Std.int(row[1]), 'keyframe for ${row[0]} s');
        // A seek answer is ready for the seek once it holds the header and the first keyframe's
        // part, not just the header. (start, bytes needed)
        var parts:Array<Array<Float>> = [[9000, 13 + 9000], [18000, 13 + 9000], [27000, 13 + 5000], [100, 13 + 5000]];
        for (row in parts)
            equal(k.firstPartBytes(row[0], 5000), row[1], 'first part from ${row[0]}');
        var meta = {keyframes: {times: ([0.0, 1.0, "x"] : Array<Dynamic>), filepositions: [13.0, 500.0, 900.0]}};
        var read = Keyframes.fromMetadata(meta);
        equal(read.times.length, 2, "unreadable entries are left out");
        equal(Keyframes.fromMetadata({duration: 3}), null, "metadata without keyframes");
        // Which seek answers start with the metadata: the seek script adds it with the AVC or
        // AAC configuration only. (video codec, audio codec, carried)
        var index = {times: [0.0, 1.0], filepositions: [13.0, 500.0]};
        var codecs:Array<Array<Dynamic>> = [
            [7, 10, true], [7, null, true], [null, 10, true], ["7", "2", true], [2, 2, false],
            [4, 2, false], [2, 10, true], [null, null, false], ["x", 7, false]
        ];
        for (row in codecs) {
            var read = Keyframes.fromMetadata({keyframes: index, videocodecid: row[0], audiocodecid: row[1]});
            equal(read.seekAnswerHasMetadata, row[2], 'seek answer of video ${row[0]} / audio ${row[1]}');
        }
    }

    static function times() {
        var rows:Array<Array<Dynamic>> = [[0, "0:00"], [5.9, "0:05"], [65, "1:05"], [3725, "1:02:05"], [-3, "0:00"]];
        for (row in rows)
            equal(TimeText.format(row[0]), row[1], 'time ${row[0]}');
    }

    static function keys() {
        // key code, with Ctrl or Alt, action (null: the key is the browser's)
        var rows:Array<Array<Dynamic>> = [
            [32, false, TogglePlay], [75, false, TogglePlay], [37, false, SeekBy(-5)],
            [39, false, SeekBy(5)], [38, false, StepVolume(1)], [40, false, StepVolume(-1)],
            [77, false, ToggleMute], [70, false, ToggleFullScreen], [67, false, StepCaptions],
            [32, true, null], [70, true, null], [67, true, null], [9, false, null], [13, false, null],
            [107, false, null], [0, false, null],
        ];
        for (row in rows) {
            var action = KeyboardControls.actionFor(row[0], row[1]);
            check(action == null ? row[2] == null : row[2] != null && Type.enumEq(action, row[2]),
                'key ${row[0]} (modifier ${row[1]}): got $action, expected ${row[2]}');
        }
    }

    static function keyedSeeks() {
        // time, seconds, duration, fraction the seek bar is given
        var rows:Array<Array<Float>> = [
            [10, 5, 40, 15 / 40], [10, -5, 40, 5 / 40], [3, -5, 40, 0], [37, 5, 40, 1],
            [0, 5, 0, 0], [0, 5, -1, 0], [5, 5, Math.NaN, 0], [Math.NaN, 5, 40, 0],
        ];
        for (row in rows)
            equal(KeyboardControls.seekFraction(row[0], row[1], row[2]), row[3],
                'seek by ${row[1]} s from ${row[0]} s of ${row[2]} s');
    }

    static function keyedVolumes() {
        // level, steps, level after
        var rows:Array<Array<Float>> = [
            [0.4, 1, 0.6], [0.4, -1, 0.2], [1, 1, 1], [0, -1, 0], [0.2, -1, 0], [0.8, 1, 1],
            [0.5, 1, 0.6], [0.5, -1, 0.4], [0.79, 1, 0.8], [0.81, -1, 0.8], [0.6000001, 1, 0.8],
            [0.3, 2, 0.6],
        ];
        for (row in rows)
            check(Math.abs(KeyboardControls.steppedVolume(row[0], Std.int(row[1])) - row[2]) < 1e-9,
                'volume ${row[0]} stepped by ${row[1]}: got ${KeyboardControls.steppedVolume(row[0], Std.int(row[1]))}, expected ${row[2]}');
    }

    static function muting() {
        // M pressed at each level in turn, on one player from its start: the level after
        var presses:Array<Array<Float>> = [
            [0.8, 0], [0, 0.8], [0.4, 0], [0, 0.4], [0, 0.4],
        ];
        var m = new Muting();
        for (press in presses)
            equal(m.toggle(press[0]), press[1], 'M at ${press[0]}');
        equal(new Muting().toggle(0), Muting.AUDIBLE_LEVEL, "M on a player configured silent");
    }

    static function streamStarts() {
        // A stream restarted by the seek script at the keyframe of 4 s (byte 18000). Clock,
        // file time: a clock restarted at 0 counts from the keyframe, one that follows the tags
        // (at or past 3 s) already tells the file's time.
        var s = new StreamStart();
        s.keyframes = new Keyframes([0, 2, 4, 6], [400, 9000, 18000, 27000]);
        equal(s.moveFor(5, 1), true, "a seek beyond what the stream has loaded");
        equal(s.time, 4.0, "the start time is the keyframe's");
        equal(s.byte, 18000.0, "the start byte is the keyframe's");
        var clocks:Array<Array<Float>> = [[0, 4], [1.5, 5.5], [2.9, 6.9], [3, 3], [4.5, 4.5], [10, 10]];
        for (row in clocks)
            equal(s.fileTime(row[0]), row[1], 'file time at clock ${row[0]} s');
        // bytes loaded, bytes total of the answer, the file's fraction loaded
        var loads:Array<Array<Float>> = [[0, 0, 0], [2000, 0, 0], [0, 2000, 18000 / 20000], [2000, 2000, 1]];
        for (row in loads)
            equal(s.loadedFraction(row[0], row[1]), row[2], 'loaded ${row[0]} of ${row[1]}');
        // wanted, loaded up to, whether a new request starts, at which time
        var seeks:Array<Array<Dynamic>> = [
            [5, 8, false, 4], [8, 8, false, 4], [9, 8, true, 6], [3, 8, true, 2], [-1, 8, false, 2],
        ];
        for (row in seeks) {
            equal(s.moveFor(row[0], row[1]), row[2], 'seek to ${row[0]} s loaded up to ${row[1]} s');
            equal(s.time, row[3], 'start after the seek to ${row[0]} s');
        }
        s.reset();
        equal(s.fileTime(0.5), 0.5, "a stream from the file's start keeps its clock");
        equal(s.moveFor(9, 1), false, "no request before the keyframes are known");
        // bytes loaded, bytes total (0: unknown), first part in; without keyframes the header
        // and FIRST_PART_BYTES must be in
        var parts:Array<Array<Dynamic>> = [
            [13 + StreamStart.FIRST_PART_BYTES - 1, 0, false], [13 + StreamStart.FIRST_PART_BYTES, 0, true],
            [500, 500, true], [499, 500, false],
        ];
        for (row in parts)
            equal(s.firstPartIn(row[0], row[1]), row[2], 'first part in at ${row[0]} of ${row[1]}');
    }

    static function streamEnds() {
        // Frames of a 40 s video played from a download: playing, clock, fraction loaded, ended.
        var rows:Array<Array<Dynamic>> = [
            [true, 39.96, 1, true], [true, 39.96, 0.99, false], [false, 39.96, 1, false],
            [true, 38.9, 1, false], [true, 39.5, 1, false],
        ];
        for (row in rows) {
            var end = new StreamEnd();
            equal(end.reached(row[0], row[1], 40, row[2]), row[3],
                'playing ${row[0]} at ${row[1]} s with ${row[2]} loaded');
        }
        equal(new StreamEnd().reached(true, 0, 0, 1), false, "a video of unknown duration");
        // A clock standing still at 39.5 s ends the video once it has stood for 21 frames.
        var end = new StreamEnd();
        var frames = 0;
        while (frames < 100 && !end.reached(true, 39.5, 40, 1)) {
            end.passed(39.5);
            frames++;
        }
        equal(frames, 21, "frames before a stalled clock ends the video");
        end.restart();
        equal(end.reached(true, 39.5, 40, 1), false, "a new stream starts the count again");
    }

    static function videoOrder() {
        // mode code, auto progress, videos, current, moves on, index after
        var rows:Array<Array<Dynamic>> = [
            [89, true, 1, 0, false, 0], [89, true, 3, 0, false, 0], [97, true, 3, 0, true, 1],
            [97, true, 3, 2, false, 0], [97, false, 3, 1, false, 1], [97, false, 3, 2, false, 0],
        ];
        for (row in rows) {
            var c = new PlayerConfig();
            c.modeCode = row[0];
            c.autoProgress = row[1];
            for (i in 0...(row[2] : Int))
                c.videos.push({title: 'v$i', desc: "", flash: 'v$i.flv', pic: "", captions: []});
            var order = new VideoOrder(c);
            order.choose(row[3]);
            var what = 'mode ${row[0]}, auto ${row[1]}, video ${row[3]} of ${row[2]}';
            equal(order.advance(), row[4], '$what moves on');
            equal(order.index, row[5], '$what: index after its end');
        }
    }
}
