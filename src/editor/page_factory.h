#pragma once

// The form page of each page kind.

#include "editor/page_kind.h"

class CBaseView;
class QWidget;
struct SPageContext;

// A new, not yet shown page of the kind; null for a kind whose page this editor does not have.
CBaseView* CreateFormPage(PageKind kind, const SPageContext& context, QWidget* parent);
