#include "models/ControlStates.h"

namespace {

using S = ControlStates;
using P = ControlProperty;

// A state's field is named after its control and property (chkHtml5Visible: the check box
// chkHtml5, visible), and the rows are made from that name, so a row cannot show one control's
// state on another.
#define STATE_ROW(control, property) \
    { #control, P::property, &S::control##property }

const ControlStateRow<bool> kFlags[] = {
    STATE_ROW(mnuNormalStreaming, Checked), STATE_ROW(mnuRtmpStreaming, Checked),
    STATE_ROW(mnuPseudoStreaming, Checked), STATE_ROW(chkHtml5, Visible),
    STATE_ROW(chkIsLive, Visible),          STATE_ROW(chkAutoProgress, Enabled),
    STATE_ROW(optSingle, Enabled),          STATE_ROW(optMultiple, Enabled),
    STATE_ROW(cmdIntroImage, Enabled),      STATE_ROW(cmdIntroImage2, Enabled),
    STATE_ROW(cmdOutroImage, Enabled),      STATE_ROW(cmdOutroImage2, Enabled),
    STATE_ROW(lblRedirectURL, Enabled),     STATE_ROW(txtRedirectURL, Enabled),
    STATE_ROW(lblActionCode, Enabled),      STATE_ROW(txtActionCode, Enabled),
    STATE_ROW(chkShowEmbedCode, Enabled),   STATE_ROW(lblVideoFilesStatus, Visible),
};

const ControlStateRow<QString> kTexts[] = {
    STATE_ROW(Frame1, Caption),
    STATE_ROW(chkAutoProgress, ToolTip),
    STATE_ROW(optMultiple, ToolTip),
    STATE_ROW(cmdIntroImage, ToolTip),
    STATE_ROW(cmdIntroImage2, ToolTip),
    STATE_ROW(cmdOutroImage, ToolTip),
    STATE_ROW(cmdOutroImage2, ToolTip),
    STATE_ROW(txtActionCode, ToolTip),
    STATE_ROW(chkShowEmbedCode, ToolTip),
    STATE_ROW(txtServerPath, ToolTip),
    STATE_ROW(txtVideoPath, ToolTip),
    STATE_ROW(lblOutDir, ToolTip),
    STATE_ROW(txtAffiliateLink, ToolTip),
    STATE_ROW(txtRedirectURL, ToolTip),
    // The label's text is the whole state, so its field carries no property in its name.
    {"lblPlayerTintMessage", P::Text, &S::lblPlayerTintMessage},
};

#undef STATE_ROW

}  // namespace

std::span<const ControlStateRow<bool>> ControlStates::flagRows() {
    return kFlags;
}

std::span<const ControlStateRow<QString>> ControlStates::textRows() {
    return kTexts;
}

const char* ControlStates::qtProperty(ControlProperty property) {
    switch (property) {
        case P::Checked:
            return "checked";
        case P::Visible:
            return "visible";
        case P::Enabled:
            return "enabled";
        case P::Caption:
            return "title";
        case P::ToolTip:
            return "toolTip";
        case P::Text:
            return "text";
    }
    return "";
}
