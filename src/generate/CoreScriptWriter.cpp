#include "generate/CoreScriptWriter.h"

#include "formats/Escaping.h"
#include "generate/ScriptEscaper.h"
#include "generate/WebAddresses.h"
#include "platform/Int16.h"

namespace {

// True everywhere except on Android phones, and also on iPhone and iPod: where it holds, the
// page may offer the Flash player; Android phones only ever get the HTML5 containers.
const QString kUaTest = QStringLiteral(
    "if(!((navigator.userAgent.toLowerCase().indexOf('android') != -1)&&"
    "(navigator.userAgent.toLowerCase().indexOf('mobile') != -1)) || "
    "(navigator.userAgent.toLowerCase().indexOf('iphone')!= -1) || "
    "(navigator.userAgent.toLowerCase().indexOf('ipod') != -1) ) {");

QString docWrite(const QString& html) {
    return QStringLiteral("document.write('") + html + QStringLiteral("');");
}

QString scriptTag(const QString& src) {
    return QStringLiteral("<script type=\"text/javascript\" src=\"") + src +
           QStringLiteral("\"></script>");
}

// User text inside the single-quoted document.write literals.
QString literal(const QString& text) {
    return Escaping::jsString(text, u'\'');
}

QString shareValue(const QString& text) {
    return literal(Escaping::queryValue(text));
}

// Collects the lines of one core script, step by step.
class Builder {
  public:
    explicit Builder(const CoreScriptWriter::Input& in)
        : m_in(in), m_server(literal(Escaping::xmlAttribute(in.serverPath))), m_tag(in.tag) {}

    QStringList build() {
        m_out << QStringLiteral("//<![CDATA[");
        writeIncludes();
        writeTableStart();
        writePlaceholder();
        writeEndOfVideo();
        m_out << docWrite(QStringLiteral("</td>")) << docWrite(QStringLiteral("</tr>"));
        if (m_in.socialShare)
            writeSocialRow();
        m_out << docWrite(QStringLiteral("</table>")) << QStringLiteral("//]]>");
        return m_out;
    }

  private:
    // A fluid table takes the page's width up to its own, and without the cells' spacing and
    // padding the player fits in it at its full size.
    QString tableTag() const {
        const qint16 width = CoreScriptWriter::tableWidth(m_in);
        if (m_in.fluidSize)
            return QStringLiteral(
                       "<table width=\"100%\" border=\"0\" align=\"center\" "
                       "cellspacing=\"0\" cellpadding=\"0\" "
                       "style=\"max-width:%1px\">")
                .arg(width);
        return QStringLiteral("<table width=\"%1\" border=\"0\" align=\"center\">").arg(width);
    }

    QString include(const QString& name) const { return docWrite(scriptTag(m_server + name)); }

    void uaTest() { m_out << kUaTest; }
    void closeUaTest() { m_out << QStringLiteral("}"); }

    void writeIncludes() {
        if (m_in.useHtml5 || m_in.hasActionCode)
            m_out << docWrite(QStringLiteral("<script src=\"") + WebAddresses::jQuery() +
                              QStringLiteral("\"></script>"));
        if (m_in.useHtml5)
            uaTest();
        m_out << include(QStringLiteral("zevoswf.js"));
        if (m_in.useHtml5)
            closeUaTest();
    }

    void writeTableStart() {
        m_out << docWrite(tableTag()) << docWrite(QStringLiteral("<tr>"))
              << docWrite(QStringLiteral("<td>"));
        if (m_in.hasActionCode)
            m_out << docWrite(
                QStringLiteral("<div id=\"elementf%1\" align=\"center\">").arg(m_tag));
    }

    void writePlaceholder() {
        if (m_in.useHtml5)
            uaTest();
        m_out << docWrite(
            QStringLiteral("<div id=\"flashcontent%1\" align=\"center\">").arg(m_tag));
        if (m_in.useHtml5) {
            closeUaTest();
            m_out << docWrite(QStringLiteral("<!--[if gte IE 9]><!-->"));
            if (m_in.playlist)
                writeHtml5PlaylistBlock();
            else
                writeHtml5SingleBlock();
            m_out << docWrite(QStringLiteral("<!--<![endif]-->"));
            uaTest();
        } else {
            m_out << docWrite(literal(m_in.errorFlash));
        }
        m_out << docWrite(QStringLiteral("</div>"))
              << include(QStringLiteral("zevoflashsv%1.js").arg(m_tag));
        if (m_in.useHtml5)
            closeUaTest();
    }

    void writeHtml5PlaylistBlock() {
        m_out << include(QStringLiteral("zevohtml5sv%1.js").arg(m_tag))
              << docWrite(QStringLiteral("<div class=\"videocontainer\" id=\"vDiv%1\">").arg(m_tag))
              << docWrite(QStringLiteral("</div>"))
              << docWrite(QStringLiteral("<div class=\"listcontainer\" id=\"pDiv%1\">").arg(m_tag))
              << docWrite(
                     QStringLiteral("<div class=\"zevolistscroll\" id=\"pDivSc%1\">").arg(m_tag))
              << docWrite(QStringLiteral("</div>")) << docWrite(QStringLiteral("</div>"));
    }

    void writeHtml5SingleBlock() {
        m_out << include(QStringLiteral("zevohtml5sv%1.js").arg(m_tag))
              << docWrite(QStringLiteral("<div id=\"vDiv%1\">").arg(m_tag))
              << docWrite(QStringLiteral("</div>"));
    }

    void writeEndOfVideo() {
        const QString actionInclude = include(QStringLiteral("zevoacton%1.js").arg(m_tag));
        if (m_in.hasActionCode) {
            m_out << docWrite(QStringLiteral("</div>")) << actionInclude;
            writeActionBlock();
        } else if (!m_in.redirectUrl.trimmed().isEmpty()) {
            m_out << actionInclude;
        }
    }

    // Hidden until the video ends; the action script then swaps it with the player's division.
    // Dismiss is a button, so the keyboard reaches it; it looks like the text it always was.
    void writeActionBlock() {
        m_out << docWrite(QStringLiteral(
                              "<div id=\"elemento%1\" align=\"center\" style=\"display:none;\">")
                              .arg(m_tag))
              << ScriptEscaper::escape(m_in.actionCode.trimmed())
              << docWrite(QStringLiteral(
                     "<button type=\"button\" id=\"backtovideo\" style=\"cursor:pointer;"
                     "color:#000000;font-size:12px;font-family:Verdana;"
                     "background:none;border:0;padding:0\">Dismiss</button>"))
              << docWrite(QStringLiteral("</div>"));
    }

    void writeSocialRow() {
        const QString url = shareValue(m_in.shareUrl);
        const QString title = shareValue(m_in.shareTitle);
        m_out << docWrite(QStringLiteral("<tr>")) << docWrite(QStringLiteral("<td>"))
              << docWrite(QStringLiteral("<a href=\"") + WebAddresses::facebookShare() +
                          QStringLiteral("?u=") + url + QStringLiteral("&t=") + title +
                          QStringLiteral("\" target=\"_blank\"><img src=\"") + m_server +
                          QStringLiteral("wg_fb.jpg\" alt=\"Facebook It\" border=\"0\"></a>&nbsp;"))
              << docWrite(QStringLiteral("<a href=\"") + WebAddresses::twitterShare() +
                          QStringLiteral("?url=") + url + QStringLiteral("&title=") + title +
                          QStringLiteral("\" target=\"_blank\"><img src=\"") + m_server +
                          QStringLiteral("wg_tw.jpg\" alt=\"Twitt It\" border=\"0\"></a>"))
              << docWrite(QStringLiteral("</td>")) << docWrite(QStringLiteral("</tr>"));
    }

    const CoreScriptWriter::Input& m_in;
    // ServerPath as it goes into the attributes of the written HTML, inside a literal.
    const QString m_server;
    const QString m_tag;
    QStringList m_out;
};

}  // namespace

QString CoreScriptWriter::fileName(const QString& tag) {
    return QStringLiteral("zevocoresv") + tag + QStringLiteral(".js");
}

qint16 CoreScriptWriter::tableWidth(const Input& in) {
    if (in.playlist && in.position == PlaylistPosition::Right)
        return Int16::add(in.playerWidth, in.widthPlaylist, 8);
    return Int16::add(in.playerWidth, 4);
}

QString CoreScriptWriter::codeTxtLine(const Input& in) {
    return QStringLiteral("embedtext=") + scriptTag(in.serverPath + fileName(in.tag));
}

QStringList CoreScriptWriter::lines(const Input& in) {
    return Builder(in).build();
}

OutputFile CoreScriptWriter::coreScript(const Input& in) {
    return OutputFile::ofLines(in.outputFolder + fileName(in.tag), lines(in),
                               QStringLiteral("zevocoresv*.js"));
}

OutputFile CoreScriptWriter::codeTxt(const Input& in) {
    return OutputFile::ofLines(in.outputFolder + QStringLiteral("code.txt"), {codeTxtLine(in)});
}
