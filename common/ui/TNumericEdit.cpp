#include "TNumericEdit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <limits>

TNumericEdit::TNumericEdit(QWidget* Parent) : QLineEdit(Parent)
{
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    connect(this, &QLineEdit::editingFinished, this, &TNumericEdit::EnforceBounds);
}

qint64 TNumericEdit::Value() const
{
    bool ok = false;
    const qint64 value = text().toLongLong(&ok);
    return ok ? value : 0;
}

void TNumericEdit::SetValue(qint64 Value)
{
    setText(QString::number(Value));
}

void TNumericEdit::EnforceBounds()
{
    if (text().isEmpty())
        return;
    bool ok = false;
    qint64 value = text().toLongLong(&ok);
    if (!ok) // more digits than fit: beyond every bound
        value = std::numeric_limits<qint64>::max();
    qint64 bounded = value;
    if (FMaxValue && bounded > *FMaxValue)
        bounded = *FMaxValue;
    if (FMinValue && bounded < *FMinValue)
        bounded = *FMinValue;
    if (bounded != value)
        SetValue(bounded);
}
