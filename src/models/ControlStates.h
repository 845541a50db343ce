#pragma once

#include <QList>
#include <QString>
#include <span>

#include "platform/Version.h"

struct ControlStates;

// The property of a control that a state sets. Caption is a frame's title.
enum class ControlProperty { Checked, Visible, Enabled, Caption, ToolTip, Text };

// A state of ControlStates with the control that shows it: the control's objectName and its
// property.
template <typename T>
struct ControlStateRow {
    const char* control;
    ControlProperty property;
    T ControlStates::*state;
};

// The enabled and visible states of the main window's controls that follow from the settings.
// They are not saved; the rules of MainWindowModel recompute them.
struct ControlStates {
    bool mnuNormalStreamingChecked = true;
    bool mnuRtmpStreamingChecked = false;
    bool mnuPseudoStreamingChecked = false;
    QString Frame1Caption = QStringLiteral("Mode: Normal");

    bool chkHtml5Visible = true;
    bool chkIsLiveVisible = false;
    bool chkAutoProgressEnabled = false;
    bool optSingleEnabled = true;
    bool optMultipleEnabled = true;
    bool cmdIntroImageEnabled = true;
    bool cmdIntroImage2Enabled = true;
    bool cmdOutroImageEnabled = true;
    bool cmdOutroImage2Enabled = true;
    bool lblRedirectURLEnabled = true;
    bool txtRedirectURLEnabled = true;
    bool lblActionCodeEnabled = true;
    bool txtActionCodeEnabled = true;
    bool chkShowEmbedCodeEnabled = true;
    bool lblVideoFilesStatusVisible = false;

    // The tool tips of the controls that a rule disables: while disabled, why; else what they do.
    QString chkAutoProgressToolTip;
    QString optMultipleToolTip;
    QString cmdIntroImageToolTip;
    QString cmdIntroImage2ToolTip;
    QString cmdOutroImageToolTip;
    QString cmdOutroImage2ToolTip;
    QString txtActionCodeToolTip;
    QString chkShowEmbedCodeToolTip;

    // Tool tips that show the current text with one blank before and one after.
    QString txtServerPathToolTip;
    QString txtVideoPathToolTip;
    QString lblOutDirToolTip;
    QString txtAffiliateLinkToolTip;
    QString txtRedirectURLToolTip;

    int currentTab = 0;  // sstThis: 0 Marketing, 1 Preview, 2 Intro Image, 3 Outro Image
    QString caption = QStringLiteral(VIDLARK_TITLE);
    QString lblPlayerTintMessage;
    QList<quint32> tintBoxColours;  // pctPlayerColorTint(0..17)

    // Every flag and text above that one property of one control shows, a row each. The main
    // window sets its controls by these rows, so a new state is a field, its row and the rule
    // that sets it; the window's code does not change.
    static std::span<const ControlStateRow<bool>> flagRows();
    static std::span<const ControlStateRow<QString>> textRows();
    // The name of the Qt property (of QWidget, QAction, QGroupBox, QLabel) that shows it.
    static const char* qtProperty(ControlProperty property);
};
