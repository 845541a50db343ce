#pragma once

#include <QString>

#include "platform/AppPaths.h"
#include "platform/PreviewServer.h"

// "Test in Browser (Offline)" as a browser can run it: the scratch folder with the local test
// page, and the emulator's folder of the installation, served from 127.0.0.1. The server starts
// on first use and lives as long as the program.
class LocalPreview {
  public:
    explicit LocalPreview(const AppPaths& paths);

    // The address of the local test page; empty when no port could be had.
    QString testPageAddress();

  private:
    PreviewServer m_server;
};
