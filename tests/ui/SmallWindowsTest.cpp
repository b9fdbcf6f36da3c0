#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "UiTestRegistry.h"
#include "ui/AboutBox.h"
#include "ui/MidiInPortView.h"

// The about box and the MIDI-in monitor.
class SmallWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void the_about_box_shows_the_product_version_and_maker_lines() {
        AboutBox Box;
        QCOMPARE(Box.windowTitle(), "About  Songloader");
        QCOMPARE(Box.label1->text(), QString::fromUtf8("Orvik®30 / Melko™30 Song Loader"));
        QCOMPARE(Box.label2->text(), "Version 1.04");
        QVERIFY(!Box.label3->text().isEmpty());
        QCOMPARE(Box.AboutOK->text(), "OK");
        QCOMPARE(Box.label1->font().pointSize(), 12);
        QCOMPARE(Box.label2->font().pointSize(), 12);
        QCOMPARE(Box.label3->font().pointSize(), 8);
        QVERIFY(!Box.windowIcon().isNull());
        Box.show();
        QVERIFY(Box.label1->y() < Box.label2->y());
        QVERIFY(Box.label2->y() < Box.label3->y());
        QVERIFY(Box.label3->y() < Box.AboutOK->y());
        QCOMPARE(Box.minimumSize(), Box.maximumSize());  // a fixed border
    }

    void the_monitor_is_a_sizable_window_with_one_scrolling_text_box() {
        MidiInPortView Monitor;
        QCOMPARE(Monitor.windowTitle(), "MidiInPortView");
        QCOMPARE(Monitor.MidiInText->objectName(), "MidiInText");
        QCOMPARE(Monitor.MidiInText->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(Monitor.isWindow());
        QVERIFY(Monitor.minimumSize() != Monitor.maximumSize());
        Monitor.show();
        QVERIFY(Monitor.MidiInText->width() > Monitor.width() * 9 / 10);
    }
};

SONGLOADER_UI_TEST(SmallWindowsTest);

#include "SmallWindowsTest.moc"
