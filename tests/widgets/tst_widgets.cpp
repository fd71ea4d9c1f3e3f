#include "common/scriptedprompts.h"
#include "widgets/colorlineedit.h"
#include "widgets/colorslider.h"
#include "widgets/monospacefont.h"
#include "widgets/superrgb.h"

#include <QApplication>
#include <QColorDialog>
#include <QDrag>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

// A lamp editor on screen (offscreen platform), with its parts found by name.
struct Lamp
{
    explicit Lamp(quint16 number = 0, quint8 r = 0, quint8 g = 0, quint8 b = 0)
        : editor(r, g, b, number)
    {
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
    }
    ColorSlider *slider(const char *name) { return editor.findChild<ColorSlider *>(name); }
    ColorLineEdit *field(const char *name) { return editor.findChild<ColorLineEdit *>(name); }
    QPushButton *button(const char *name) { return editor.findChild<QPushButton *>(name); }
    QString label(const char *name) { return editor.findChild<QLabel *>(name)->text(); }

    SuperRGB editor;
};

// Keys held down for the life of the object, as the application sees them.
struct HeldKeys
{
    HeldKeys(QWidget *w, Qt::KeyboardModifiers keys) : widget(w)
    {
        if (keys & Qt::ShiftModifier)
            QTest::keyPress(widget, Qt::Key_Shift, Qt::ShiftModifier);
        if (keys & Qt::ControlModifier)
            QTest::keyPress(widget, Qt::Key_Control, keys);
    }
    ~HeldKeys()
    {
        QTest::keyRelease(widget, Qt::Key_Shift, Qt::NoModifier);
        QTest::keyRelease(widget, Qt::Key_Control, Qt::NoModifier);
    }
    QWidget *widget;
};

// A drop or drag enter carrying the given mime data, as a drag would deliver it.
bool dragEnter(QWidget *target, const QMimeData *mime)
{
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    return enter.isAccepted();
}

void drop(QWidget *target, const QMimeData *mime)
{
    QDropEvent event(QPointF(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// The colour a left press on the field puts on the drag it starts. The
// offscreen platform ends the drag at once; the drag object lives on until
// the next deferred delete.
QVariant draggedColour(QWidget *field)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mousePress(field, Qt::LeftButton);
    QDrag *drag = field->findChild<QDrag *>();
    const QVariant colour = drag ? drag->mimeData()->colorData() : QVariant();
    QTest::mouseRelease(field, Qt::LeftButton);
    return colour;
}

} // namespace

class tst_widgets : public QObject
{
    Q_OBJECT

private slots:
    // The application keeps the modifiers of the last key or mouse event; one
    // left "held" would make the next editor select whatever slider appears
    // under the pointer.
    void cleanup()
    {
        QWidget keyboard;
        HeldKeys none(&keyboard, Qt::NoModifier);
    }

    // A new editor

    void newEditor_data()
    {
        QTest::addColumn<int>("lamp");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("addresses");
        QTest::newRow("first") << 0 << "L: 1" << QStringList{"1", "2", "3"};
        QTest::newRow("last") << 11 << "L: 12" << QStringList{"34", "35", "36"};
    }

    void newEditor()
    {
        QFETCH(int, lamp);
        QFETCH(QString, title);
        QFETCH(QStringList, addresses);
        Lamp l{quint16(lamp)};
        QCOMPARE(l.editor.findChild<QGroupBox *>("LampGroupBox")->title(), title);
        QCOMPARE((QStringList{l.label("LabelAddress1"), l.label("LabelAddress2"), l.label("LabelAddress3")}), addresses);
        QCOMPARE(l.editor.findChild<QLabel *>("LabelAddress2")->toolTip(), QString("DMX addres"));
        for (const char *name : {"EditRed", "EditGreen", "EditBlue"}) {
            QCOMPARE(l.field(name)->text(), QString("000"));
            QCOMPARE(l.field(name)->palette().color(QPalette::Text), QColor(Qt::white));
        }
        QCOMPARE(l.field("EditColor")->baseColor(), QColor(0, 0, 0));
        QCOMPARE(l.editor.color(), QColor(0, 0, 0));
    }

    // Value paths

    void digitsStayReadableOnLightShades()
    {
        Lamp l(0, 255, 255, 255);
        QCOMPARE(l.field("EditRed")->palette().color(QPalette::Text), QColor(Qt::white));
        QCOMPARE(l.field("EditGreen")->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(l.field("EditBlue")->palette().color(QPalette::Text), QColor(Qt::white));
        l.editor.setGreenColor(120);
        QCOMPARE(l.field("EditGreen")->palette().color(QPalette::Text), QColor(Qt::white));
        l.field("EditGreen")->setText("200");
        QCOMPARE(l.field("EditGreen")->palette().color(QPalette::Text), QColor(Qt::black));
        // The stand-in for a missing "Courier New" is a monospace face: its
        // narrowest and widest letters, and all its digits, take the same
        // width. (QFontInfo::fixedPitch is no measure: fontconfig calls some
        // monospace faces, Noto Sans Mono among them, "dual" spaced.)
        // "Courier New" where there is one, else the face behind the system's
        // fixed-width font, which that name then stands for.
        const QFont field = l.field("EditRed")->font();
        QCOMPARE(field.family(), QString("Courier New"));
        QCOMPARE(QFontInfo(field).family(), monospaceFamily());
        QCOMPARE(monospaceFamily(), QFontDatabase::families().contains("Courier New")
                                        ? QString("Courier New")
                                        : QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family());
        QCOMPARE(field.pointSize(), 7);
        const QFontMetrics digits(l.field("EditRed")->font());
        for (QChar c : QString("imW0123456789"))
            QCOMPARE(digits.horizontalAdvance(c), digits.horizontalAdvance(QLatin1Char('8')));
    }

    void plusAndMinusClampWithoutAnnouncing()
    {
        Lamp l(0, 254, 1, 0);
        QSignalSpy announced(&l.editor, &SuperRGB::colorChanged);
        for (const char *name : {"ButtonRPlus", "ButtonRPlus", "ButtonGMinus", "ButtonGMinus", "ButtonBMinus"})
            QTest::mouseClick(l.button(name), Qt::LeftButton);
        QCOMPARE(announced.count(), 2);
        QCOMPARE(l.editor.color(), QColor(255, 0, 0));
        QCOMPARE(l.field("EditRed")->text(), QString("255"));
    }

    void typingIsValidatedAndClearingChangesNothing()
    {
        Lamp l;
        ColorLineEdit *red = l.field("EditRed");
        QTest::keyClick(red, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(red, Qt::Key_Backspace);
        QTest::keyClicks(red, "256");
        QCOMPARE(red->text(), QString("25"));
        QCOMPARE(l.slider("SliderRed")->value(), 25);
        QCOMPARE(red->baseColor(), QColor(25, 0, 0));

        QTest::keyClick(red, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(red, Qt::Key_Backspace);
        QCOMPARE(red->text(), QString());
        QCOMPARE(l.slider("SliderRed")->value(), 25);
        QCOMPARE(l.editor.color().red(), 25);
    }

    void directUpdatesMoveSliderAndField()
    {
        Lamp l;
        QSignalSpy announced(&l.editor, &SuperRGB::colorChanged);
        l.editor.setRedColor(44);
        // Once by the call, once by the slider that the new text moved.
        QCOMPARE(announced.count(), 2);
        QCOMPARE(l.slider("SliderRed")->value(), 44);
        QCOMPARE(l.field("EditRed")->text(), QString("044"));

        l.editor.setGreenColor(7);
        l.editor.setBlueColor(200);
        QCOMPARE(l.slider("SliderGreen")->value(), 7);
        QCOMPARE(l.field("EditBlue")->text(), QString("200"));
        QCOMPARE(l.field("EditColor")->baseColor(), QColor(44, 7, 200));

        announced.clear();
        l.editor.setGreenColor(7);  // unchanged, still announced
        QCOMPARE(announced.count(), 1);

        l.editor.setRGB(10, 20, 30);
        QCOMPARE(l.editor.color(), QColor(10, 20, 30));
        QCOMPARE(l.field("EditGreen")->text(), QString("020"));
    }

    // A whole colour is one change: announced once, with the colour chosen,
    // never with a mix of new and old channels.
    void colourDroppedOnPreviewIsOneUpdate()
    {
        Lamp l(0, 200, 200, 200);
        QSignalSpy announced(&l.editor, &SuperRGB::colorChanged);
        QSignalSpy chosen(&l.editor, &SuperRGB::colorChosen);
        QMimeData mime;
        mime.setColorData(QColor(10, 20, 30));
        QVERIFY(dragEnter(l.field("EditColor"), &mime));
        drop(l.field("EditColor"), &mime);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(announced.count(), 1);
        QCOMPARE(announced.first().first().value<QColor>(), QColor(10, 20, 30));
        QCOMPARE(l.editor.color(), QColor(10, 20, 30));
        QCOMPARE(l.slider("SliderGreen")->value(), 20);
        QCOMPARE(l.field("EditBlue")->text(), QString("030"));
    }

    void typedValueEqualToSliderDoesNotStaleNextUpdate()
    {
        Lamp l;
        ColorLineEdit *red = l.field("EditRed");
        QTest::keyClick(red, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(red, "0");  // new text, same value: the slider stays
        l.editor.setRedColor(90);
        QCOMPARE(red->text(), QString("090"));
        QCOMPARE(l.slider("SliderRed")->value(), 90);
        QCOMPARE(l.editor.color().red(), 90);
    }

    void keysReachTheParentBeforeTheField()
    {
        struct Parent : QWidget
        {
            ColorLineEdit *field = new ColorLineEdit(this);
            QStringList seen;
            void keyPressEvent(QKeyEvent *e) override { seen << e->text() + "|" + field->text(); }
        } parent;
        QTest::keyClicks(parent.field, "12");
        QCOMPARE(parent.seen, (QStringList{"1|", "2|1"}));
        QCOMPARE(parent.field->text(), QString("12"));
    }

    // Selection

    void ctrlClickTogglesWithoutMoving()
    {
        Lamp l;
        ColorSlider *s = l.slider("SliderRed");
        QTest::mouseClick(s, Qt::LeftButton, Qt::ControlModifier, QPoint(12, 10));
        QVERIFY(s->isSelected());
        QTest::mouseClick(s, Qt::RightButton, Qt::ControlModifier, QPoint(12, 10));
        QVERIFY(!s->isSelected());
        QCOMPARE(s->value(), 0);
    }

    void shiftPressDeselectsWithoutMoving()
    {
        Lamp l;
        ColorSlider *s = l.slider("SliderRed");
        s->setSelected(true);
        QTest::mouseClick(s, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 10));
        QVERIFY(!s->isSelected());
        QCOMPARE(s->value(), 0);
        // Without Shift the same press is a slider press and moves the handle.
        QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, QPoint(12, 10));
        QVERIFY(s->value() > 0);
        QVERIFY(!s->isSelected());
    }

    void hoverSelectsWithShiftAndDeselectsWithShiftCtrl()
    {
        QWidget window;
        window.resize(100, 300);
        ColorSlider *s = new ColorSlider(Qt::Vertical, &window);
        s->setGeometry(10, 10, 25, 256);
        s->setAttribute(Qt::WA_Hover);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint outside(80, 150), inside(22, 150);

        QTest::mouseMove(&window, outside);
        QTest::mouseMove(&window, inside);
        QVERIFY(!s->isSelected());
        {
            HeldKeys shift(&window, Qt::ShiftModifier);
            QTest::mouseMove(&window, outside);
            QVERIFY(s->isSelected());
        }
        {
            HeldKeys shiftCtrl(&window, Qt::ShiftModifier | Qt::ControlModifier);
            QTest::mouseMove(&window, inside);
            QVERIFY(!s->isSelected());
        }
        QCOMPARE(s->value(), 0);
    }

    void shiftDragSelectsInsideAndOutsideALamp()
    {
        Lamp l;
        ColorSlider bare(Qt::Vertical);
        bare.resize(25, 256);
        for (ColorSlider *s : {l.slider("SliderBlue"), &bare}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(12, 20), s->mapToGlobal(QPointF(12, 20)),
                             Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
            QCoreApplication::sendEvent(s, &move);
            QVERIFY(s->isSelected());
            QCOMPARE(s->value(), 0);  // the handle does not follow
        }
    }

    void percentSteps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("result");
        QTest::newRow("+10 on 100") << 100 << 10 << 115;
        QTest::newRow("+10 on 0") << 0 << 10 << 5;
        QTest::newRow("+10 on 250") << 250 << 10 << 255;
        QTest::newRow("-10 on 100") << 100 << -10 << 85;
        QTest::newRow("-10 on 3") << 3 << -10 << 0;
        QTest::newRow("0 on 50") << 50 << 0 << 45;
    }

    void percentSteps()
    {
        QFETCH(int, start);
        QFETCH(int, percent);
        QFETCH(int, result);
        ColorSlider s(Qt::Vertical);
        s.setValue(start);
        s.changePercentifSelected(percent);
        QCOMPARE(s.value(), start);
        s.setSelected(true);
        s.changePercentifSelected(percent);
        QCOMPARE(s.value(), result);
    }

    void groupSlotsActOnSelectedSlidersOnly()
    {
        Lamp l(0, 100, 100, 100);
        QSignalSpy moves(&l.editor, &SuperRGB::selectedSliderValueChange);
        l.editor.selectGreen(true);
        l.editor.setValueIfSelected(77);
        QCOMPARE(l.editor.color(), QColor(100, 77, 100));
        l.editor.changePercentifSelected(-10);
        QCOMPARE(l.editor.color(), QColor(100, 65, 100));

        for (ColorSlider *s : {l.slider("SliderRed"), l.slider("SliderGreen")}) {
            s->setSliderDown(true);  // as while the user drags the handle
            s->setSliderPosition(60);
            s->setSliderDown(false);
        }
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.at(0).at(0).toInt(), 60);

        l.editor.setAll(true);
        l.editor.setValueIfSelected(5);
        QCOMPARE(l.editor.color(), QColor(5, 5, 5));
    }

    // Drag and drop, double click

    void dragsCarryTheFieldsBackground()
    {
        Lamp l(0, 40, 20, 30);
        QCOMPARE(draggedColour(l.field("EditColor")).value<QColor>(), QColor(40, 20, 30));
        QCOMPARE(draggedColour(l.field("EditRed")).value<QColor>(), QColor(40, 0, 0));
        QCOMPARE(draggedColour(l.field("EditGreen")).value<QColor>(), QColor(0, 20, 0));
    }

    void onlyColourDropsAreAccepted()
    {
        ColorLineEdit field;
        QStringList emitted;
        connect(&field, &ColorLineEdit::redChanged, [&](int v) { emitted << "r" + QString::number(v); });
        connect(&field, &ColorLineEdit::greenChanged, [&](int v) { emitted << "g" + QString::number(v); });
        connect(&field, &ColorLineEdit::blueChanged, [&](int v) { emitted << "b" + QString::number(v); });

        QMimeData text;
        text.setText("40");
        QVERIFY(!dragEnter(&field, &text));

        QMimeData colour;
        colour.setColorData(QColor(40, 0, 0));
        QVERIFY(dragEnter(&field, &colour));
        drop(&field, &colour);
        QCOMPARE(emitted, (QStringList{"r40", "g0", "b0"}));
        QCOMPARE(field.baseColor(), QColor(40, 0, 0));
    }

    void doubleClickAsksForAColourOnThePreviewOnly()
    {
        Lamp l(0, 10, 20, 30);
        ColorLineEdit *preview = l.field("EditColor");
        ScriptedPrompts prompts;
        prompts.answer(QColor(1, 2, 3)).cancel();
        QTest::mouseDClick(preview, Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].kind, QString("color"));
        QCOMPARE(prompts.asked[0].color, QColor(10, 20, 30));
        QCOMPARE(prompts.asked[0].parent, preview);
        QCOMPARE(l.editor.color(), QColor(1, 2, 3));

        QSignalSpy announced(&l.editor, &SuperRGB::colorChanged);
        QTest::mouseDClick(preview, Qt::LeftButton);  // cancelled
        QTest::mouseDClick(l.field("EditRed"), Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(announced.count(), 0);
    }

    void doubleClickDrivesTheRealColourDialog()
    {
        Lamp l(0, 10, 20, 30);
        QColor preset;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) {
                answer.stop();
                preset = dialog->currentColor();
                dialog->setCurrentColor(QColor(5, 6, 7));
                dialog->accept();
            }
        });
        answer.start(20);
        QTest::mouseDClick(l.field("EditColor"), Qt::LeftButton);
        QCOMPARE(preset, QColor(10, 20, 30));
        QCOMPARE(l.editor.color(), QColor(5, 6, 7));
    }
};

QTEST_MAIN(tst_widgets)
#include "tst_widgets.moc"
