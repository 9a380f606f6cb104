#include "setup/contact_rows.h"

#include "base/text.h"

namespace veltrace::setup {

ContactRow linkRow(ContactField field, std::string_view link) {
  size_t split = link.find('\n');
  if (split == std::string_view::npos) return {field, std::string(link), std::string(link)};
  return {field, std::string(link.substr(0, split)), std::string(link.substr(split + 1))};
}

std::vector<ContactRow> contactRows(const SetupScript& script) {
  const InstallSettings& settings = script.settings();
  std::vector<ContactRow> rows;
  std::string company = script.symbolValue(symbolCompany);
  if (hasVisibleText(company)) rows.push_back({ContactField::company, company, {}});
  ContactRow webSite = linkRow(ContactField::webSite, settings.webSiteLink);
  if (hasVisibleText(webSite.text)) rows.push_back(webSite);
  ContactRow email = linkRow(ContactField::email, settings.emailLink);
  if (hasVisibleText(email.text)) rows.push_back(email);
  if (hasVisibleText(settings.telephone)) rows.push_back({ContactField::telephone, settings.telephone, {}});
  return rows;
}

}  // namespace veltrace::setup
