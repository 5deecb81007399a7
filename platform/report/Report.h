#pragma once
// The report object a window keeps: a layout made once, and two run-time
// inputs, the title (what "%i" shows) and the data source, both set again
// before every show.  Show lays the report out and opens the modal preview;
// it returns when the preview is closed.
#include "DataSource.h"
#include "Layout.h"
#include "PreviewWindow.h"
#include "ReportModel.h"
#include "platform/runtime/Host.h"

#include <memory>
#include <optional>
#include <string>

namespace arc::report {

class Report {
public:
    explicit Report(ReportModel model) : model_(std::move(model)) {}

    const ReportModel& Model() const { return model_; }
    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const { return title_; }
    void SetDataSource(std::shared_ptr<const DataSource> source) { source_ = std::move(source); }
    const std::shared_ptr<const DataSource>& Source() const { return source_; }
    // Sections printed after the report footer, each whole, like more report
    // footers (what the run found to add at the end); set again before
    // every show, none by default.
    void SetClosingSections(std::vector<ReportSection> sections) { closing_ = std::move(sections); }

    // The report laid out with its current inputs on a sheet: the one given
    // when it holds the body, otherwise the default printer's, or A4 or
    // Letter by the locale without a printer.  The default printer is asked
    // for its sheet once, and again only when another printer becomes the
    // default.  Raises RuntimeError 91 without a data source, 3265 for a
    // field it lacks.
    Layout Paginate(const Regional& regional, std::optional<PageSetup> page = std::nullopt) const;

    // Lays out and shows the preview over the owner until it is closed.
    // Failures of printing and saving are shown by the preview through the
    // host; a report that cannot be laid out or shown raises RuntimeError.
    void Show(HWND owner, Host& host, PreviewOptions options = {},
              std::optional<PageSetup> page = std::nullopt) const;

private:
    ReportModel model_;
    std::vector<ReportSection> closing_;
    std::wstring title_;
    std::shared_ptr<const DataSource> source_;
    mutable std::optional<std::wstring> sheetPrinter_;  // the printer defaultSheet_ is of
    mutable PageSetup defaultSheet_;
};

}  // namespace arc::report
