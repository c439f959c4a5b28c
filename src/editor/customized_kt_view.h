#pragma once

// The Customized KT page: six analog tones of the user's own, KT codes 124 to 129, typed in hertz
// with one decimal and stored in tenths of a hertz.

#include "editor/customized_code_view.h"

class CCustomizedKTView : public CCustomizedCodeView {
    Q_OBJECT

public:
    enum ControlId : int {
        kTitle = 1077,
        kFirstLabel = 1078,  // 1078 to 1083, one per code
        kFirstField = 1084,  // 1084 to 1089
    };

    static constexpr int kMsgInvalidTone = 478;
    static constexpr int kFieldLength = 5;

    explicit CCustomizedKTView(const SPageContext& context, QWidget* parent = nullptr);

protected:
    QString Filter(const QString& text) const override;
    SConversion Conversion() const override;

private:
    QString Separator() const;
};
