// The desktop program: the main window on the MIDI devices of this computer.
#include <QApplication>

#include "app/SendSession.h"
#include "midi/MidiBackend.h"
#include "midi/system/SystemMidiBackend.h"
#include "ui/AppIcon.h"
#include "ui/Form1.h"
#include "ui/QtUserDialogs.h"

int main(int argc, char** argv) {
    QApplication Application(argc, argv);
    QApplication::setApplicationName("SongLoader");
    QApplication::setWindowIcon(AppIcon());

    cSystemMidiBackend Backend;
    cScopedMidiBackend UseBackend(Backend);
    cQtUserDialogs Dialogs;
    Form1 MainWindow(Dialogs, ProgramTransfer());
    QObject::connect(&MainWindow, &Form1::ApplicationEnding, &Application, &QApplication::quit,
                     Qt::QueuedConnection);
    MainWindow.show();
    QApplication::exec();
    // The transfer object outlives the windows: make sure its ports are closed before the
    // backend goes away.
    EndProgramTransfer();
    return 0;
}
