#pragma once

#include "app/SendSession.h"
#include "cli/CliContext.h"

// The command line's side of a send session: clashing songs are bad usage unless allowed, an
// interrupt stops it, what happened goes to stderr, and the run is ticked by a wait loop with
// the progress on stdout.
class cCliSendFrontEnd final : public iSendFrontEnd {
  public:
    cCliSendFrontEnd(tCliContext& Context, bool AllowSameName)
        : Context(Context), AllowSameName(AllowSameName) {}

    bool SendClashingSongs(const std::vector<tNameClash>& Clashes) override;
    bool StopRequested() override;
    void ShowPreparedSongs(const tPreparedSongs& Songs) override;
    tRunEnding RunTransfer(cTransferRun& Run) override;
    void ShowUndeleted(const std::vector<tUndeletedFile>& Files) override;

  private:
    tCliContext& Context;
    bool AllowSameName;
};
