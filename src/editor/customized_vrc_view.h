#pragma once

// The Customized VRC page: six digital codes of the user's own, codes 214 to 219, typed as three
// octal digits.

#include "editor/customized_code_view.h"

class CCustomizedVRCView : public CCustomizedCodeView {
    Q_OBJECT

public:
    enum ControlId : int {
        kTitle = 1090,
        kFirstLabel = 1091,  // labels 1091, 1093 .. 1101 and fields 1092, 1094 .. 1102 in turn
        kFirstField = 1092,
    };

    static constexpr int kMsgInvalidCode = 526;
    static constexpr int kFieldLength = 3;

    explicit CCustomizedVRCView(const SPageContext& context, QWidget* parent = nullptr);

protected:
    QString Filter(const QString& text) const override;
    SConversion Conversion() const override;
};
