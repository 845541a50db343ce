#include "models/MainWindowRules.h"

#include "models/MainWindowModel.h"
#include "platform/Views.h"

namespace {

using S = ProjectSettings;
using C = ControlStates;

const QString kNotApplicable = QStringLiteral("Not Applicable");

}  // namespace

std::span<const MainWindowRules::Rule> MainWindowRules::rules() {
    static const Rule kRules[] = {
        {&S::IsLive, &liveVideo, nullptr},
        {&S::AutoPlay, &autoStart, nullptr},
        {&S::SocialShare, &socialShare, nullptr},
        {&S::ServerPath, &marketingTabForward, &C::txtServerPathToolTip},
        {&S::VideoPath, nullptr, &C::txtVideoPathToolTip},
        {&S::OutDir, nullptr, &C::lblOutDirToolTip},
        {&S::AffiliateLink, nullptr, &C::txtAffiliateLinkToolTip},
        {&S::RedirectURL, nullptr, &C::txtRedirectURLToolTip},
    };
    return kRules;
}

const MainWindowRules::Rule* MainWindowRules::of(const ProfileSetting::Field& field) {
    for (const Rule& rule : rules()) {
        if (rule.field == field)
            return &rule;
    }
    return nullptr;
}

// A live video is one stream without an end: no playlist, no intro or outro image, nothing to do
// at its end, nothing to embed elsewhere.
void MainWindowRules::liveVideo(MainWindowModel& window) {
    ControlStates& states = window.m_states;
    const bool on = window.m_settings.IsLive;
    if (on && window.m_settings.Multiple)
        window.selectSingle();
    states.optMultipleEnabled = !on;
    // Clearing enables all four image commands, whatever auto start says.
    window.setImageCommandsEnabled(!on);
    states.lblRedirectURLEnabled = !on;
    states.txtRedirectURLEnabled = !on;
    window.change(&S::RedirectURL, on ? kNotApplicable : QString());
    states.lblActionCodeEnabled = !on;
    states.txtActionCodeEnabled = !on;
    window.change(&S::ActionCode, on ? kNotApplicable : QString());
    states.chkShowEmbedCodeEnabled = !on;
    window.explainDisabledControls();
}

// A video that starts by itself shows no intro image. Only the settings column's command goes
// off; the intro tab's own commands stay as they were.
void MainWindowRules::autoStart(MainWindowModel& window) {
    window.m_states.cmdIntroImageEnabled = !window.m_settings.AutoPlay;
    window.explainDisabledControls();
}

// Ticking the box asks for the title and link; without them it stays as it was. A profile
// being loaded brings its own title and link, so the dialog stays closed then.
void MainWindowRules::socialShare(MainWindowModel& window) {
    if (!window.m_settings.SocialShare || window.m_loadingProfile)
        return;
    window.m_social.load();
    window.m_views.showSocialDialog();
    if (!window.m_social.saved())
        window.m_settings.SocialShare = false;
}

void MainWindowRules::marketingTabForward(MainWindowModel& window) {
    if (window.m_states.currentTab != 0)
        window.showTab(0);
}
