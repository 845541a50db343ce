#include "cli/CliViews.h"

void CliViews::showSingleVideoDialog() {
    if (cancelSingleVideoDialog)
        cancelSingleVideoDialog();
}

void CliViews::showPlaylistEditor() {
    if (cancelPlaylistEditor)
        cancelPlaylistEditor();
}
