#pragma once

#include <QProxyStyle>

// Makes a QComboBox open its items as a list of maxVisibleItems rows under
// the box. Styles such as Fusion ask for a popup over the current item
// instead, which QComboBox sizes to hold every item: each opening then
// measures the text of all of them, 100 ms for 40,000 block captions.
class DropDownListStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
