#pragma once

#include <QList>
#include <QString>

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

    // Tool tips that show the current text with one blank before and one after.
    QString txtServerPathToolTip;
    QString txtVideoPathToolTip;
    QString lblOutDirToolTip;
    QString txtAffiliateLinkToolTip;
    QString txtRedirectURLToolTip;

    int currentTab = 0;
    QString caption = QStringLiteral("Vidlark Streaming Video 14");
    QString lblPlayerTintMessage;
    QList<quint32> tintBoxColours;  // pctPlayerColorTint(0..17)  // sstThis: 0 Marketing, 1
                                    // Preview, 2 Intro Image, 3 Outro Image
};
