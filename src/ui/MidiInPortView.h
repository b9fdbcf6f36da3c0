#pragma once

#include <QWidget>

class QPlainTextEdit;

// The MIDI-in monitor: a modeless window whose text box shows the bytes last received from the
// device during a transfer, as hex digits. The progress dialog replaces its text.
class MidiInPortView : public QWidget {
    Q_OBJECT

  public:
    explicit MidiInPortView(QWidget* pParent = nullptr);
    // A new monitor, shown beside the parent window and brought to the front.
    static MidiInPortView* Open(QWidget* pParent);
    // Shows Text in place of what the monitor showed before.
    void ReplaceText(const QString& Text);

  private:
    QPlainTextEdit* MidiInText;
};
