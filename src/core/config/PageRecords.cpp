#include "config/PageRecords.h"

#include "config/ModelSelect.h"

namespace q5::config {

bool PageRecords(RecordStream& io, pages::ModulePage& page, int pageKind) {
  if (page.pageKind() != pageKind) return false;
  return AnalogInputRecords(io, page, pageKind) || DiscreteRecords(io, page, pageKind) ||
         PulsePwmAcRecords(io, page, pageKind) || LoadCellRecords(io, page, pageKind) ||
         TemperatureOutputRecords(io, page, pageKind);
}

bool NewDefaults(pages::ModulePage& page, int pageKind, std::string_view model) {
  if (page.pageKind() != pageKind) return false;
  return AnalogInputDefaults(page, pageKind, model) || DiscreteDefaults(page, pageKind, model) ||
         PulsePwmAcDefaults(page, pageKind, model) || LoadCellDefaults(page, pageKind, model) ||
         TemperatureOutputDefaults(page, pageKind, model);
}

bool PageRecordsAvailable(int moduleKind) {
  switch (moduleKind) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
      return true;
    default:
      return false;
  }
}

}  // namespace q5::config
