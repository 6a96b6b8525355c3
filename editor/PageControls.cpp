#include "PageControls.h"

#include <QAbstractItemModel>
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
