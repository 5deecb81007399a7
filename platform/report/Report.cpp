#include "Report.h"

#include "platform/runtime/Error.h"

namespace arc::report {

Layout Report::Paginate(const Regional& regional, std::optional<PageSetup> page) const {
    if (!source_) throw RuntimeError(kErrObjectNotSet, ErrorDescription(kErrObjectNotSet) + L" (DataSource)");
    ReportModel model = model_;
    for (const ReportSection& section : closing_) {
        model.sections.push_back(section);
        model.sections.back().kind = SectionKind::ReportFooter;
    }
    if (page && page->BodyWidth() >= model_.width && page->BodyHeight() > 0)
        return Layout(std::move(model), source_, title_, *page, regional);
    std::wstring printer = DefaultPrinterName();
    if (sheetPrinter_ != printer) {
        defaultSheet_ = PrinterOrLocalePageSetup(printer, model_.width);
        sheetPrinter_ = printer;
    }
    return Layout(std::move(model), source_, title_, defaultSheet_, regional);
}

void Report::Show(HWND owner, Host& host, PreviewOptions options, std::optional<PageSetup> page) const {
    Layout layout = Paginate(host.Regional(), page);
    PreviewWindow::ShowModal(owner, host, layout, options);
}

}  // namespace arc::report
