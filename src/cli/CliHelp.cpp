#include "cli/CliHelp.h"

#include "app/HelpTexts.h"

QString CliHelp::text() {
    return QStringLiteral(R"(Usage: vidlark-cli generate --profile FILE.epe [OPTION]...
  or:  vidlark-cli profile show FILE.epe
  or:  vidlark-cli profile write FILE.epe [KEY=VALUE]...
  or:  vidlark-cli serve [--app-folder DIR]
The generation run of Vidlark Streaming Video without windows: the embed code
and the files to upload for a video or a playlist, as the desktop program makes
them.

Commands:
  generate        apply a profile, choose the videos, make the code and files
  profile show    print a profile as KEY=VALUE lines, one a setting
  profile write   write a profile from KEY=VALUE pairs (from standard input,
                  one a line, when none are given); the rest start values
  serve           serve the last run's test page on 127.0.0.1 until Ctrl+C

Options of generate:
      --profile FILE.epe    the profile to apply (required)
      --app-folder DIR      the application folder to start from
      --output DIR          the output folder, instead of the profile's
      --flash FILE          the single video's Flash file
      --mp4 FILE            its MP4 file (with --flash)
      --webm FILE           its WebM file (with --flash)
      --captions FILE[:LANGUAGE[:LABEL]]
                            a caption track of the single video (repeatable,
                            with --flash)
      --playlist FILE.plf   the playlist to use, instead of --flash
      --make-mp4            make the missing MP4 copies first
      --set KEY=VALUE       override a setting of the profile for this run
                            (repeatable); the keys profile show prints
      --serve               after a completed run, serve its local test page

Options of serve:
      --app-folder DIR      the application folder whose test page is served

      --help     display this help and exit
      --version  output version information and exit

Exit status of generate: 0 completed, 1 failed, 2 stopped by a check of the
request (nothing written), 3 completed but the metadata injection failed for
some videos, 130 interrupted while making an MP4 copy.
Exit status of profile and serve: 0 done, 1 refused or failed.

Report bugs at )") +
           HelpTexts::supportPage() + QStringLiteral("\nFull documentation: man vidlark-cli\n");
}
