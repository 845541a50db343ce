#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include "EndAddresses.h"
#include "Html5ScriptRun.h"
#include "ScriptRun.h"
#include "TestFiles.h"
#include "formats/Html5PlaylistScriptWriter.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

namespace {

// Stand-ins for the page: the scrolling list (its items, their colours and click handlers), the
// video container (its current video element and listeners) and the window. After the script,
// `steps` are carried out in order: "play" and "ended" fire on the current video, "click:N" clicks
// list item N, "key:N:CODE" presses the key of that code on item N.
const char* const kPlaylistHarness = R"js(
const fs = require('fs');
const [, , scriptPath, configJson] = process.argv;
const high = '\u20ac\x81\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\x8d\u017d\x8f' +
             '\x90\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\x9d\u017e\u0178';
const src = Array.from(fs.readFileSync(scriptPath),
                       b => b >= 0x80 && b < 0xa0 ? high[b - 0x80] : String.fromCharCode(b)).join('');
const cfg = JSON.parse(configJson);
const seen = { ajax: null, list: [], video: '', played: [], location: 'unchanged', called: [],
               keptKeys: [] };
const items = [];
let videos = {};
const document = { getElementById: id => videos[id] || null };
const XML = {};
const describe = id => id + ' ' + /<source src="([^"]*)"/.exec(seen.video)[1];
function $(arg) {
  if (arg === XML)
    return { find: name => name === 'video'
      ? { each: f => cfg.videos.forEach((v, k) => f.call(v, k)) }
      : { text: () => cfg.xml[name] } };
  if (typeof arg === 'object') {
    const element = { attr: a => arg[a], click: f => { if (f) arg.click = f; else arg.click(); return element; },
                      keydown: f => { arg.keydown = f; return element; } };
    return element;
  }
  if (arg.endsWith(' li')) {
    const one = k => { const it = items[k] || {};
      const o = { css: (p, v) => { it[p] = v; return o; }, attr: (p, v) => { it[p] = v; return o; } };
      return o; };
    const all = { css: (p, v) => { items.forEach(it => { it[p] = v; }); return all; },
                  removeAttr: p => { items.forEach(it => { delete it[p]; }); return all; } };
    return { size: () => items.length, eq: one, css: all.css,
             each: f => items.forEach((it, k) => f.call(it, k)) };
  }
  const chain = {
    empty() { if (arg.startsWith('#vDiv')) { videos = {}; seen.video = ''; } return chain; },
    append(html) {
      if (arg.startsWith('#pDivSc')) {
        seen.list.push(html);
        if (html.startsWith('<li')) items.push({});
      } else {
        seen.video = html;
        const id = /^<video id ="([^"]*)"/.exec(html)[1];
        const listeners = {};
        videos[id] = { id, listeners, focus() {}, play() { seen.played.push(describe(id)); },
                       addEventListener(ev, f) { (listeners[ev] ||= []).push(f); } };
      }
      return chain; } };
  return chain;
}
$.ajax = o => { seen.ajax = { type: o.type, url: o.url, dataType: o.dataType }; o.success(XML); };
const window = { open: (url, target) => { seen.location = url + ' ' + target; } };
for (const name of cfg.functions || []) window[name] = () => seen.called.push(name);
new Function('$', 'document', 'window', src)($, document, window);
for (const step of cfg.steps || []) {
  if (step.startsWith('click:')) { items[Number(step.slice(6))].click(); continue; }
  if (step.startsWith('key:')) {
    const [, k, code] = step.split(':');
    let kept = true;
    items[Number(k)].keydown.call(items[Number(k)], { which: Number(code), preventDefault() { kept = false; } });
    seen.keptKeys.push(kept);
    continue;
  }
  for (const v of Object.values(videos)) (v.listeners[step] || []).forEach(f => f());
}
seen.current = Object.keys(videos).map(describe).join();
seen.colours = items.map(it => it['background-color'] || '');
seen.marked = items.map(it => it['aria-current'] || '');
console.log(JSON.stringify(seen));
)js";

using Run = Html5ScriptRun;

QJsonObject video(const QString& name, const QString& title = QString(),
                  const QString& desc = QString(), const QString& pic = QString()) {
    return {{"title", title},
            {"desc", desc},
            {"v2", name + ".mp4"},
            {"v3", name + ".webm"},
            {"pic", pic}};
}

// The configuration file as the page's server answers it.
QJsonObject page(const QString& layout, const QString& autoProgress, const QString& action,
                 const QJsonArray& videos, const QStringList& steps = {}) {
    const QJsonObject xml{{"ee", autoProgress},
                          {"ff", "No"},
                          {"ww", "480"},
                          {"xx", "270"},
                          {"ii", "80"},
                          {"nn", layout},
                          {"yy", "http://www.example.com/video/clips/thumbs/"},
                          {"vv", action}};
    return {{"xml", xml},
            {"videos", videos},
            {"steps", QJsonArray::fromStringList(steps)},
            {"functions", QJsonArray{"hfda0732"}}};
}

QJsonArray threeVideos() {
    return {video("a", "A"), video("b", "B"), video("c", "C")};
}

QString item(const QString& cells) {
    return "<li tabindex=\"0\"><table class=\"litable\" role=\"presentation\">" + cells +
           "</table></li>";
}

QString firstVideo(const QString& fallback) {
    return "<video id =\"vIa0732\" width=\"480\" height=\"270\" controls=\"controls\" "
           "preload=\"metadata\" onclick=\"if(/Android/.test(navigator.userAgent))this.play();\">"
           "<source src=\"a.mp4\" type=\"video/mp4\" /><source src=\"a.webm\" "
           "type=\"video/webm\" />" +
           fallback + "</video>";
}

}  // namespace

class Html5PlaylistScriptTest : public QObject {
    Q_OBJECT

  private slots:
    void goldenFile();
    void inlineGoldenFile();
    void captionsGoldenFile();
    void fluidGoldenFile();
    void mutedStartGoldenFiles_data();
    void mutedStartGoldenFiles();
    void deletesEveryHtml5ScriptFirst();
    void typedTextReachesThePage_data();
    void typedTextReachesThePage();
    void playback_data();
    void playback();
    void keysPlayItems_data();
    void keysPlayItems();
    void endOpensOnlyPageAddresses_data();
    void endOpensOnlyPageAddresses();
};

void Html5PlaylistScriptTest::goldenFile() {
    Run run;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    QCOMPARE(run.files(), QStringList{"zevohtml5sva0732.js"});
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), "formats/html5_playlist.js");
}

// Every video element the list plays gets the attribute, the first and the ones pV makes.
void Html5PlaylistScriptTest::inlineGoldenFile() {
    Run run;
    run.input.playsInline = true;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), "formats/html5_playlist_inline.js");
}

// A caption track on any row makes every video element take the tracks of the row it plays; the
// rows without captions have no `cc`, which the track function passes over.
void Html5PlaylistScriptTest::captionsGoldenFile() {
    Run run;
    run.input.captions = true;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), "formats/html5_playlist_captions.js");
}

// Every video element the list plays keeps the chosen shape as it shrinks with the page.
void Html5PlaylistScriptTest::fluidGoldenFile() {
    Run run;
    run.input.fluidSize = true;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), "formats/html5_playlist_fluid.js");
}

void Html5PlaylistScriptTest::mutedStartGoldenFiles_data() {
    QTest::addColumn<bool>("autoPlay");
    QTest::addColumn<bool>("mutedAutoPlay");
    QTest::addColumn<QString>("golden");
    QTest::newRow("auto start alone: as before") << true << false << "formats/html5_playlist.js";
    QTest::newRow("muted start without auto start") << false << true << "formats/html5_playlist.js";
    // The first video starts muted; each later one takes the visitor's choice and its own button.
    QTest::newRow("auto start muted") << true << true << "formats/html5_playlist_muted.js";
}

void Html5PlaylistScriptTest::mutedStartGoldenFiles() {
    QFETCH(bool, autoPlay);
    QFETCH(bool, mutedAutoPlay);
    QFETCH(QString, golden);
    Run run;
    run.input.autoPlay = autoPlay;
    run.input.mutedAutoPlay = mutedAutoPlay;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), golden);
}

void Html5PlaylistScriptTest::deletesEveryHtml5ScriptFirst() {
    Run run;
    const QStringList earlier{"zevohtml5sva0000.js", "zevohtml5pl.js", "zevohtml5sva0731.js"};
    const QStringList unrelated{"zevoactona0000.js", "zevocoresva0000.js", "zevohtml5sv.txt",
                                "zevostyle.css"};
    for (const QString& name : earlier + unrelated)
        TextFile::writeLines(run.outDir.filePath(name), {"earlier run"});
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    QStringList expected = unrelated;
    expected << "zevohtml5sva0732.js";
    expected.sort();
    QCOMPARE(run.files(), expected);
}

void Html5PlaylistScriptTest::typedTextReachesThePage_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QJsonObject>("row");
    QTest::addColumn<QString>("errorHtml5");
    QTest::addColumn<QString>("listItem");
    QTest::newRow("titles only, apostrophe")
        << "None" << video("a", "Tom's clip") << "Sorry."
        << item("<tr><td><strong>Tom's clip</strong></td></tr>");
    QTest::newRow("descriptions, quotes in the error text")
        << "Desc" << video("a", "It's \"new\"", "Part 1 of 2")
        << "Use a browser that can't say \"no\" \\ </video>"
        << item(
               "<tr><td><strong>It's &#34;new&#34;</strong></td></tr><tr><td>Part 1 of "
               "2</td></tr>");
    QTest::newRow("markup in a title stays text")
        << "Desc" << video("a", "<b>Tom</b> & Jerry", "a<script>x</script>") << "x"
        << item(
               "<tr><td><strong>&#60;b&#62;Tom&#60;/b&#62; &#38; Jerry</strong></td></tr>"
               "<tr><td>a&#60;script&#62;x&#60;/script&#62;</td></tr>");
    QTest::newRow("thumbnail address, blank in the file name")
        << "Thumb" << video("a", "A", "D", "my clip.jpg") << "x"
        << item(
               "<tr><td width=\"22%\" rowspan=\"2\"><img alt=\"\" "
               "src=http://www.example.com/video/clips/thumbs/my&#32;clip.jpg></td> <td "
               "width=\"78%\"><strong>A</strong></td></tr><tr><td>D</td></tr>");
    QTest::newRow("Windows-1252 letters")
        << "None" << video("a", QString::fromUtf8("Café – déjà vu"))
        << QString::fromUtf8("Vidéo indisponible – désolé")
        << item(QString::fromUtf8("<tr><td><strong>Café – déjà vu</strong></td></tr>"));
}

// Runs the script against the page: it must parse, request the configuration by the server's own
// path, and place the typed texts in the list and the video element.
void Html5PlaylistScriptTest::typedTextReachesThePage() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, layout);
    QFETCH(QJsonObject, row);
    QFETCH(QString, errorHtml5);
    QFETCH(QString, listItem);
    Run run;
    run.input.errorHtml5 = errorHtml5;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    const QJsonObject seen =
        ScriptRun::run(run.script(), page(layout, "Yes", "No", QJsonArray{row}), kPlaylistHarness);
    VERIFY_SCRIPT_RAN(seen);
    QCOMPARE(seen["ajax"].toObject()["url"].toString(),
             QStringLiteral("/video/clips/zevoconfigsv.xml"));
    QCOMPARE(seen["list"].toArray(), (QJsonArray{"<ul aria-label=\"Playlist\"></ul>", listItem}));
    QCOMPARE(seen["video"].toString(), firstVideo(errorHtml5));
}

void Html5PlaylistScriptTest::playback_data() {
    QTest::addColumn<QString>("autoProgress");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QJsonArray>("videos");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("current");     // the video element in the container afterwards
    QTest::addColumn<QStringList>("played");  // play() calls, as "<element id> <mp4>"
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QString>("outcome");  // window location or the action function called
    const QJsonArray three = threeVideos();
    const QString grey = "#333333", lit = "#666666";
    QTest::newRow("page load: the first video waits, its item lit on play")
        << "Yes"
        << "No" << three << QStringList{"play"} << "vIa0732 a.mp4" << QStringList{}
        << QStringList{lit, "", ""} << "unchanged";
    QTest::newRow("click item 2 plays and lights it")
        << "No"
        << "No" << three << QStringList{"click:1"} << "va0732 b.mp4" << QStringList{"va0732 b.mp4"}
        << QStringList{grey, lit, grey} << "unchanged";
    QTest::newRow("auto progress from the first video through the list")
        << "Yes"
        << "No" << three << QStringList{"ended", "ended"} << "va0732 c.mp4"
        << QStringList{"va0732 b.mp4", "va0732 c.mp4"} << QStringList{grey, grey, lit}
        << "unchanged";
    QTest::newRow("without auto progress the player stops")
        << "No"
        << "http://www.example.com/next.html" << three << QStringList{"click:0", "ended"}
        << "va0732 a.mp4" << QStringList{"va0732 a.mp4"} << QStringList{lit, grey, grey}
        << "unchanged";
    QTest::newRow("end of the last video opens the redirect")
        << "No"
        << "http://www.example.com/next.html" << three << QStringList{"click:2", "ended"}
        << "va0732 c.mp4" << QStringList{"va0732 c.mp4"} << QStringList{grey, grey, lit}
        << "http://www.example.com/next.html _self";
    QTest::newRow("end of the last video runs the action code")
        << "Yes"
        << "javascript:hfda0732()" << three << QStringList{"ended", "ended", "ended"}
        << "va0732 c.mp4" << QStringList{"va0732 b.mp4", "va0732 c.mp4"}
        << QStringList{grey, grey, lit} << "hfda0732";
    QTest::newRow("the video shown on load never runs the action")
        << "No"
        << "http://www.example.com/next.html" << QJsonArray{video("a", "A")}
        << QStringList{"play", "ended"} << "vIa0732 a.mp4" << QStringList{} << QStringList{lit}
        << "unchanged";
}

void Html5PlaylistScriptTest::playback() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, autoProgress);
    QFETCH(QString, action);
    QFETCH(QJsonArray, videos);
    QFETCH(QStringList, steps);
    QFETCH(QString, current);
    QFETCH(QStringList, played);
    QFETCH(QStringList, colours);
    QFETCH(QString, outcome);
    Run run;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    const QJsonObject seen = ScriptRun::run(
        run.script(), page("None", autoProgress, action, videos, steps), kPlaylistHarness);
    VERIFY_SCRIPT_RAN(seen);
    QCOMPARE(seen["current"].toString(), current);
    QCOMPARE(seen["played"].toVariant().toStringList(), played);
    QCOMPARE(seen["colours"].toVariant().toStringList(), colours);
    const QStringList called = seen["called"].toVariant().toStringList();
    QCOMPARE(called.isEmpty() ? seen["location"].toString() : called.join(','), outcome);
}

// Enter and Space on a list item do what a click does, and keep the page from scrolling; other keys
// are the browser's. The item playing is the one marked as current.
void Html5PlaylistScriptTest::keysPlayItems_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("played");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<QVariantList>("keptKeys");  // whether each key went on to the browser
    QTest::newRow("Enter on item 2") << QStringList{"key:1:13"} << QStringList{"va0732 b.mp4"}
                                     << QStringList{"", "true", ""} << QVariantList{false};
    QTest::newRow("Space on item 3") << QStringList{"key:2:32"} << QStringList{"va0732 c.mp4"}
                                     << QStringList{"", "", "true"} << QVariantList{false};
    QTest::newRow("a letter or Tab does nothing")
        << QStringList{"key:1:65", "key:1:9"} << QStringList{} << QStringList{"", "", ""}
        << QVariantList{true, true};
    QTest::newRow("the mark moves with the video")
        << QStringList{"key:0:13", "key:2:13"} << QStringList{"va0732 a.mp4", "va0732 c.mp4"}
        << QStringList{"", "", "true"} << QVariantList{false, false};
    QTest::newRow("the first video marks its item when it plays")
        << QStringList{"play"} << QStringList{} << QStringList{"true", "", ""} << QVariantList{};
}

void Html5PlaylistScriptTest::keysPlayItems() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QStringList, steps);
    QFETCH(QStringList, played);
    QFETCH(QStringList, marked);
    QFETCH(QVariantList, keptKeys);
    Run run;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    const QJsonObject seen = ScriptRun::run(
        run.script(), page("None", "No", "No", threeVideos(), steps), kPlaylistHarness);
    VERIFY_SCRIPT_RAN(seen);
    QCOMPARE(seen["played"].toVariant().toStringList(), played);
    QCOMPARE(seen["marked"].toVariant().toStringList(), marked);
    QCOMPARE(seen["keptKeys"].toVariant().toList(), keptKeys);
}

void Html5PlaylistScriptTest::endOpensOnlyPageAddresses_data() {
    EndAddresses::addRows();
    QTest::newRow("the page's action code") << "javascript:hfda0732()" << true;
}

void Html5PlaylistScriptTest::endOpensOnlyPageAddresses() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, address);
    QFETCH(bool, opens);
    Run run;
    OutputFile::write(Html5PlaylistScriptWriter::html5PlaylistScript(run.input));
    const QJsonObject seen = ScriptRun::run(
        run.script(), page("None", "No", address, threeVideos(), {"click:2", "ended"}),
        kPlaylistHarness);
    VERIFY_SCRIPT_RAN(seen);
    const QStringList called = seen["called"].toVariant().toStringList();
    const QString outcome = called.isEmpty() ? seen["location"].toString() : called.join(',');
    const QString expected = address.startsWith(QLatin1String("javascript:hfd"))
                                 ? QStringLiteral("hfda0732")
                                 : address + QStringLiteral(" _self");
    QCOMPARE(outcome, opens ? expected : QStringLiteral("unchanged"));
}

QTEST_GUILESS_MAIN(Html5PlaylistScriptTest)
#include "tst_Html5PlaylistScript.moc"
