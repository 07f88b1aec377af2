#include "editor/settings_widgets.h"
#include "editor/field_words.h"
#include "editor/spin_button.h"
#include "platform/gui/twips.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>

namespace {

// Limits what the user can type without touching what the program writes: QLineEdit's
// own maximum length would also cut program writes, and a byte of 255 shown in a
// two-character field as "25" would pass as a valid value.
class LengthLimit : public QValidator {
public:
    LengthLimit(int maxLength, QObject *parent) : QValidator(parent), m_max(maxLength) {}
    State validate(QString &input, int &) const override { return input.size() <= m_max ? Acceptable : Invalid; }

private:
    int m_max;
};

// Geometry in twips. Visible rows: fields from top 240 in steps of 420.
constexpr int FieldHeight = 315;
constexpr int LabelHeight = 240;
constexpr int LabelDrop = 45; // labels sit a little lower so their text lines up with the field's
constexpr int VisibleTop = 240;
constexpr int VisibleStep = 420;
constexpr int CaptionLeft = 2340;
constexpr int OffLeft = 3960;
constexpr int FieldLeft = 4740;
constexpr int FieldWidth = 915;
constexpr int SpinLeft = 5640;
constexpr int SpinWidth = 255;
constexpr int UnitLeft = 6000;

// Hidden frame (6255 x 2475): field rows on the left, mode boxes and version on the right.
constexpr int HiddenTop = 120;
constexpr int HiddenStep = 420;
constexpr int HiddenCaptionLeft = 120;
constexpr int HiddenFieldLeft = 2040;
constexpr int HiddenSpinLeft = 2940;
constexpr int HiddenUnitLeft = 3240;
constexpr int ModeLeft = 3720;
constexpr int ModeStep = 360;
constexpr int VersionCaptionLeft = 3720;
constexpr int VersionFieldLeft = 5040;

QString name(const char *prefix, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(index);
}

// The layout leaves each caption the width of a small system font. Where the font in use
// is wider, shrink that one caption a little rather than cut its last letters off.
void fitCaption(QLabel *l)
{
    QFont f = l->font();
    const qreal original = f.pointSizeF();
    if (original <= 0)
        return; // a pixel-sized font: leave it as the window chose it
    const qreal room = l->width() - 4;
    while (QFontMetricsF(f).horizontalAdvance(l->text()) > room && f.pointSizeF() > original * 0.75)
        f.setPointSizeF(f.pointSizeF() - 0.25);
    if (f.pointSizeF() != original)
        l->setFont(f);
}

QLabel *label(QWidget *parent, const QString &text, const QString &objectName, int left, int top, int width)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(objectName);
    twips::place(l, left, top + LabelDrop, width, LabelHeight);
    fitCaption(l);
    return l;
}

QLineEdit *textBox(QWidget *parent, const QString &objectName, int left, int top)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    twips::place(e, left, top, FieldWidth, FieldHeight);
    return e;
}

} // namespace

SettingsWidgets::SettingsWidgets(QWidget *window, QWidget *fraTmp)
{
    auto makeRow = [this](QWidget *parent, int i, int captionLeft, int captionWidth, int fieldLeft, int spinLeft,
                          int unitLeft, int top) {
        const FieldSpec &s = fields::row(i);
        captions[size_t(i)] = label(parent, QCoreApplication::translate("SettingsEditor", s.caption),
                                    name("LblData", i), captionLeft, top, captionWidth);
        QLineEdit *field = textBox(parent, name("TxtData", i), fieldLeft, top);
        field->setValidator(new LengthLimit(s.maxLength, field));
        txtData[size_t(i)] = field;
        auto *spin = new SpinButton(parent);
        spin->setObjectName(name("UpDownData", i));
        twips::place(spin, spinLeft, top, SpinWidth, FieldHeight);
        upDownData[size_t(i)] = spin;
        units[size_t(i)] = label(parent, QCoreApplication::translate("SettingsEditor", s.unit), name("LblUnit", i),
                                 unitLeft, top, 420);
        nameForScreenReaders(i);
    };

    int top = VisibleTop;
    for (int i : fields::visibleOrder()) {
        // The current limiter row shares its caption's space with the "Off" box.
        const int captionEnd = i == fields::CurrentLimit ? OffLeft : FieldLeft;
        makeRow(window, i, CaptionLeft, captionEnd - CaptionLeft, FieldLeft, SpinLeft, UnitLeft, top);
        if (i == fields::CurrentLimit) {
            chkCurLimOff = new QCheckBox(QCoreApplication::translate("SettingsEditor", "Off"), window);
            chkCurLimOff->setObjectName(QStringLiteral("ChkCurLimOff"));
            twips::place(chkCurLimOff, OffLeft, top, FieldLeft - OffLeft - 60, FieldHeight);
        }
        top += VisibleStep;
    }
    lblCurLim = units[fields::CurrentLimit];
    lblCurLim->setObjectName(QStringLiteral("LblCurLim"));

    top = HiddenTop;
    for (int i : fields::hiddenOrder()) {
        makeRow(fraTmp, i, HiddenCaptionLeft, HiddenFieldLeft - HiddenCaptionLeft, HiddenFieldLeft, HiddenSpinLeft,
                HiddenUnitLeft, top);
        top += HiddenStep;
    }
    label(fraTmp, QCoreApplication::translate("SettingsEditor", "ZX Type"), QStringLiteral("LblZxType"),
          HiddenCaptionLeft, top, HiddenFieldLeft - HiddenCaptionLeft);
    txtZxType = textBox(fraTmp, QStringLiteral("TxtZxType"), HiddenFieldLeft, top);

    for (int b = 0; b < 4; ++b) {
        auto *box =
            new QCheckBox(QCoreApplication::translate("SettingsEditor", fields::modeCaption(b).toUtf8()), fraTmp);
        box->setObjectName(name("ChkMode", b));
        // Highest bit on top.
        twips::place(box, ModeLeft, HiddenTop + (3 - b) * ModeStep, 2400, FieldHeight);
        chkMode[size_t(b)] = box;
    }
    label(fraTmp, QCoreApplication::translate("SettingsEditor", "ROM Version"), QStringLiteral("LblVer"),
          VersionCaptionLeft, top, VersionFieldLeft - VersionCaptionLeft);
    txtVer = textBox(fraTmp, QStringLiteral("TxtVer"), VersionFieldLeft, top);
}

// A screen reader announces the field by its caption, then its unit and range in words;
// the unit label belongs to the field, and the arrows say which field they step.
void SettingsWidgets::nameForScreenReaders(int i)
{
    QLineEdit *field = txtData[size_t(i)];
    field->setAccessibleName(QLatin1String(fields::row(i).caption));
    field->setAccessibleDescription(fieldwords::description(i));
    units[size_t(i)]->setBuddy(field);
    SpinButton *spin = upDownData[size_t(i)];
    spin->setAccessibleName(QLatin1String(fields::row(i).caption));
    spin->upButton()->setAccessibleName(fieldwords::increase(i));
    spin->downButton()->setAccessibleName(fieldwords::decrease(i));
}
