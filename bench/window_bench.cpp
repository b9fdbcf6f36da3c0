// A batch of 200 songs added to the main window's list as a user adds it (the file dialog's
// choice, or a drop): vetted, each song converted in memory for its row, the rows filled, the
// notes and the status bar worked out, and the window drawn once after it. Songs of 10 to 100 KB
// (real songs are mostly of tens of KB). Runs without a screen (Qt's offscreen platform).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>

#include "BenchSong.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"
#include "transfer/X10FileTransfer.h"
#include "ui/Form1.h"
#include "ui/UserDialogs.h"

namespace {

// Answers every question with Yes and counts the messages, none of which a good batch brings.
class cQuietDialogs final : public iUserDialogs {
  public:
    int Messages = 0;
    void ShowMessage(QWidget*, const QString&, const QString&, tMessageIcon) override {
        ++Messages;
    }
    bool AskYesNo(QWidget*, const QString&, const QString&, tMessageIcon) override { return true; }
    QStringList ChooseFiles(QFileDialog&) override { return {}; }
    int ShowModal(QDialog&) override { return 0; }
};

QStringList SongNames(const tBatch& Batch) {
    QStringList Names;
    for (const std::filesystem::path& Song : Batch.Songs) {
        Names << QString::fromStdString(Song.string());
    }
    return Names;
}

void Click(Form1& Window, const char* szButton) {
    Window.findChild<QPushButton*>(szButton)->click();
}

void BM_AddBatchToTheWindow(benchmark::State& State) {
    static const tBatch Batch = WriteBatch("window-10-100", 10 * 1000, kBenchSongBytes);
    const QStringList Songs = SongNames(Batch);
    cVirtualMidiBackend Backend;
    cScopedMidiBackend Use(Backend);
    cQuietDialogs Dialogs;
    X10FileTransfer Transfer;
    Form1 Window(Dialogs, Transfer);
    Window.SetSettingsDirectory(QDir::tempPath() + "/songloader-bench");
    Window.show();
    QApplication::processEvents();
    Dialogs.Messages = 0;  // what the first start says of the devices and the settings file
    const auto* pList = Window.findChild<QTableWidget*>("MIDI_SONG_LIST");
    for (auto _ : State) {
        QMetaObject::invokeMethod(&Window, "openMIDIFileDialog_FileOk", Q_ARG(QStringList, Songs));
        QApplication::processEvents();
        State.PauseTiming();
        if (pList->rowCount() != Songs.size() || Dialogs.Messages != 0) {
            State.SkipWithError(
                ("the batch was not added as a whole: " + std::to_string(pList->rowCount()) +
                 " rows, " + std::to_string(Dialogs.Messages) + " messages")
                    .c_str());
            break;
        }
        Click(Window, "SELECT_ALL_BUTTON");
        Click(Window, "REMOVE_SELECTED");
        State.ResumeTiming();
    }
    State.counters["songs"] = kBatchSongs;
}
BENCHMARK(BM_AddBatchToTheWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
