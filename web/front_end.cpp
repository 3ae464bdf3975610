#include "front_end.h"

#include "blit.h"
#include "field_file.h"
#include "main_window_layout.h"

namespace trotix::web {

FrontEnd::FrontEnd(Clock& clock, PageHost& page) : clock_(clock), page_(page), window_(NewWindow()) {}

void FrontEnd::Click(int x, int y) {
  if (Contains(PixelsOf(kCmdRun), x, y)) form_.PressRun();
}

FieldFileTaken FrontEnd::OpenFieldFile(std::string_view name, std::string_view first_bytes) {
  FieldFileBytes file;
  file.status = FieldFileStatus::kRead;
  file.name.assign(name);
  file.first_bytes.assign(first_bytes);
  return Choose(std::move(file));
}

void FrontEnd::RefuseFieldFolder(std::string_view name) {
  FieldFileBytes folder;
  folder.status = FieldFileStatus::kRefused;
  folder.name.assign(name);
  folder.message = FieldFileUnreadable(name, kFieldFileIsAFolder);
  Choose(std::move(folder));
}

void FrontEnd::ForgetFieldFile() {
  field_file_.reset();
  form_.FieldFileChosen();
}

std::string FrontEnd::RestoreTickets(std::string_view kept) {
  std::string problem = tickets_.Restore(kept);
  ShowNextCard();
  return problem;
}

void FrontEnd::ToggleTickets() {
  ShowNextCard();
  page_.ToggleTickets();
}

void FrontEnd::RaceStarted(const RaceState& race) { tickets_.RaceStarted(CardOf(race), page_.LocalDate()); }

void FrontEnd::BoardShown(const RaceState& race) { tickets_.BoardShown(BoardOrderOf(race), page_.LocalDate()); }

void FrontEnd::ShowNextCard() {
  if (const std::optional<RaceCard> card = form_.CardForTickets()) tickets_.ShowCard(*card);
}

FieldFileTaken FrontEnd::Choose(FieldFileBytes file) {
  field_file_ = std::move(file);
  const FieldFileTaken taken = form_.FieldFileChosen();
  if (taken == FieldFileTaken::kRefused) field_file_.reset();
  return taken;
}

// A notice about a file begins with the file's name (FieldFileRefusal).
void FrontEnd::ShowFieldFileNotice(std::string_view notice) {
  const bool named = field_file_ && !field_file_->name.empty() && notice.starts_with(field_file_->name);
  page_.ShowFieldFileNotice(notice, named ? field_file_->name.size() : 0);
}

FieldFileBytes FrontEnd::FieldFile() { return field_file_ ? *field_file_ : FieldFileBytes{}; }

void FrontEnd::Present(const Surface& picture, const ControlsState& controls) {
  const PixelBox pic = PixelsOf(kPicMain);
  BitBlt(window_, pic.left, pic.top, picture.width(), picture.height(), picture, RasterOp::kSrcCopy);
  DrawDistanceBar(window_, {static_cast<int>(kRaceMetres), controls.bar_value, controls.bar_colour});
  DrawRunButton(window_, controls.run_enabled);
  ShowNextCard();
  page_.Present(window_);
}

}  // namespace trotix::web
