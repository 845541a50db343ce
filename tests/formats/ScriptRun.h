#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Runs a generated player script in node against small stand-ins for jQuery, `document` and
// `window`, and returns what reached the page: the configuration request, the HTML appended to
// the container, the listeners attached and the window location. A script that does not parse
// makes node fail, and the result then holds node's message as "error".
namespace ScriptRun {

inline const char* const kHarness = R"js(
const fs = require('fs');
const [, , scriptPath, configJson] = process.argv;
// Read as a browser reads a Windows-1252 script (node's own decoder treats it as Latin-1).
const high = '\u20ac\x81\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\x8d\u017d\x8f' +
             '\x90\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\x9d\u017e\u0178';
const src = Array.from(fs.readFileSync(scriptPath),
                       b => b >= 0x80 && b < 0xa0 ? high[b - 0x80] : String.fromCharCode(b)).join('');
const cfg = JSON.parse(configJson);
const seen = { ajax: null, appended: [], log: [], listeners: [] };
const handlers = {};
const element = id => ({
  addEventListener(ev, f) { seen.listeners.push(id + ':' + ev); (handlers[id + ':' + ev] ||= []).push(f); },
  pause() {}, play() {}, focus() {} });
const document = { getElementById: id => cfg.present.includes(id) ? element(id) : null };
const XML = { isXml: true };
function $(arg) {
  if (arg === XML)
    return { find: name => name === 'video'
      ? { each: f => cfg.videos.forEach((v, k) => f.call(v, k)) }
      : { text: () => cfg.xml[name] } };
  if (typeof arg === 'object') return { attr: a => arg[a] };
  const chain = {
    empty() { seen.log.push('empty ' + arg); return chain; },
    css(name, value) { seen.log.push('css ' + arg + ' ' + name + ' ' + value); return chain; },
    append(html) { seen.appended.push(html); return chain; } };
  return chain;
}
$.ajax = o => { seen.ajax = { type: o.type, url: o.url, dataType: o.dataType }; o.success(XML); };
const window = { event: undefined, location: 'unchanged',
                 open: (url, target) => { window.location = url + ' ' + target; } };
for (const name of cfg.functions || []) window[name] = () => { window.location = 'called ' + name; };
new Function('$', 'document', 'window', src)($, document, window);
for (const id of cfg.fire) (handlers[id + ':ended'] || []).forEach(f => f());
seen.location = window.location;
console.log(JSON.stringify(seen));
)js";

inline bool nodeAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty();
}

// `config`: present (ids that document.getElementById finds), xml (element texts of the
// configuration file), videos (their v2/v3 attributes), fire (ids whose 'ended' listeners run
// after the script), functions (names of the page's functions; a call shows as the location
// "called NAME"; window.open shows as "ADDRESS TARGET"). A test may bring its own `harnessText`,
// which gets the same two arguments.
inline QJsonObject run(const QString& scriptPath, const QJsonObject& config,
                       const char* harnessText = kHarness) {
    QTemporaryDir dir;
    const QString harnessPath = dir.filePath(QStringLiteral("harness.js"));
    QFile harness(harnessPath);
    if (!harness.open(QIODevice::WriteOnly) || harness.write(harnessText) < 0)
        return {{QStringLiteral("error"), QStringLiteral("cannot write the harness")}};
    harness.close();
    QProcess node;
    node.start(QStringLiteral("node"),
               {harnessPath, scriptPath,
                QString::fromUtf8(QJsonDocument(config).toJson(QJsonDocument::Compact))});
    if (!node.waitForFinished(30000) || node.exitCode() != 0)
        return {{QStringLiteral("error"), QString::fromUtf8(node.readAllStandardError())}};
    return QJsonDocument::fromJson(node.readAllStandardOutput()).object();
}

}  // namespace ScriptRun

// Fails the test with node's message when the script did not run.
#define VERIFY_SCRIPT_RAN(result) \
    QVERIFY2(!(result).contains("error"), qPrintable((result).value("error").toString()))
