#include "PageControls.h"

#include <QAbstractItemModel>
#include <QObject>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace PageControls {

namespace {
void prepare(QComboBox *combo, const QString &objectName)
{
    combo->setObjectName(objectName);
    // Sized by a fixed text length, not by measuring every item again after each refill.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(14);
    combo->setMaxVisibleItems(20);
}
} // namespace

QComboBox *list(const QString &objectName, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    prepare(combo, objectName);
    combo->addItems(items);
    return combo;
}

QComboBox *sharedList(const QString &objectName, QAbstractItemModel *model, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    prepare(combo, objectName);
    combo->setModel(model);
    return combo;
}

QPushButton *button(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(objectName);
    return l;
}

void onChoice(QComboBox *combo, QWidget *receiver, std::function<void(int)> chosen)
{
    QObject::connect(combo, &QComboBox::activated, receiver, [chosen = std::move(chosen)](int index) {
        if (index >= 0)
            chosen(index);
    });
}

void select(QComboBox *combo, qint64 position)
{
    const int index = position >= 0 && position < combo->count() ? int(position) : -1;
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
}

QString words(const QString &name)
{
    QString stem = name;
    for (const char *suffix : {"Combo", "TF", "Button"})
        if (stem.endsWith(QLatin1String(suffix)) && stem.size() > int(qstrlen(suffix))) {
            stem.chop(int(qstrlen(suffix)));
            break;
        }
    QString out;
    for (int i = 0; i < stem.size(); ++i) {
        const QChar c = stem.at(i);
        if (i > 0) {
            const QChar prev = stem.at(i - 1);
            const bool nextLower = i + 1 < stem.size() && stem.at(i + 1).isLower();
            if ((c.isUpper() && (prev.isLower() || prev.isDigit() || (prev.isUpper() && nextLower)))
                || (c.isDigit() && !prev.isDigit()))
                out += QLatin1Char(' ');
        }
        out += out.isEmpty() ? c.toUpper() : c;
    }
    return out;
}

QString songStepName(qint64 Song::*field, qint64 position)
{
    QString name;
    if (field == &Song::Tempo)
        name = QStringLiteral("Tempo");
    for (const SongNumberField &f : songNumberFields())
        if (f.member == field)
            name = words(QLatin1String(f.name));
    return QObject::tr("%1 of Song %2").arg(name).arg(position + 1);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace PageControls
