#pragma once

#include <QLineEdit>

#include <optional>

// A line edit that takes digits only (typed or pasted), optionally bounded: when the user leaves
// the field or presses Enter, a number below MinValue or above MaxValue is replaced by that bound.
// An empty field stays empty. Texts set by the program (setText) are taken as they are.
// GUI thread only.
class TNumericEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TNumericEdit(QWidget* Parent = nullptr);

    std::optional<qint64> MinValue() const { return FMinValue; }
    void SetMinValue(std::optional<qint64> Value) { FMinValue = Value; }
    std::optional<qint64> MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::optional<qint64> Value) { FMaxValue = Value; }

    // The text as a number; 0 when it is empty or no number.
    qint64 Value() const;
    void SetValue(qint64 Value);

    // Applies the bounds to the text now, as leaving the field does.
    void EnforceBounds();

private:
    std::optional<qint64> FMinValue;
    std::optional<qint64> FMaxValue;
};
