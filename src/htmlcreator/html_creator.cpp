#include "htmlcreator/html_creator.h"

#include "io/file.h"
#include "io/resources.h"
#include "io/text_file.h"
#include "text/conversions.h"

namespace tunora {
namespace {

constexpr std::array<int, 4> kSlotResources{kResourceSingleTrack, kResourceMultipleTracks,
                                            kResourceDirectory, kResourceMini};

// A built-in template: the resource is read byte-wise; pairs of bytes are the
// UTF-16LE units. Nothing when the resource is missing.
std::optional<std::u16string> builtInTemplate(ModuleHandle module, int resource, bool& unicode) {
  const auto bytes = findHtmlResource(module, resource);
  if (!bytes) return std::nullopt;
  std::u16string text;
  text.reserve(bytes->size() / 2);
  for (std::size_t at = 0; at + 1 < bytes->size(); at += 2)
    text.push_back(static_cast<char16_t>((*bytes)[at] | (*bytes)[at + 1] << 8));
  unicode = !text.empty() && text.front() == kByteOrderMark;
  if (unicode) text.erase(0, 1);
  return text;
}

}  // namespace

HtmlCreator::HtmlCreator(ModuleHandle module, const HostLink& host) : module_(module), host_(host) {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    bool unicode = false;
    auto text = builtInTemplate(module_, kSlotResources[i], unicode);
    if (!text) continue;
    slots_[i].lines.setUnicode(unicode);
    slots_[i].defaultText = std::move(*text);
  }
}

bool HtmlCreator::chooseBuiltInTemplate(TemplateSlot which, int resource) {
  bool unicode = false;
  const auto text = builtInTemplate(module_, resource, unicode);
  if (!text) return false;
  Slot& chosen = slot(which);
  chosen.path = std::u16string(kSelectTemplate);
  chosen.lines.clear();
  chosen.lines.setUnicode(unicode);
  chosen.lines.appendText(*text);
  return true;
}

void HtmlCreator::chooseTemplate(TemplateSlot which, std::u16string_view path) {
  Slot& chosen = slot(which);
  chosen.path = std::u16string(path);
  if (fileExists(path)) {
    loadTextFile(chosen.lines, path, true);
    return;
  }
  chosen.path = std::u16string(kSelectTemplate);
  if (chosen.defaultText.empty()) return;
  chosen.lines.clear();
  chosen.lines.appendText(chosen.defaultText);
}

const std::u16string& HtmlCreator::templatePath(TemplateSlot which) const {
  return slot(which).path;
}

const TextLines& HtmlCreator::templateLines(TemplateSlot which) const {
  return slot(which).lines;
}

const std::u16string& HtmlCreator::defaultTemplate(TemplateSlot which) const {
  return slot(which).defaultText;
}

TextLines HtmlCreator::fixedPage(int resource, const PageColours& colours) const {
  TextLines page;
  loadTextResource(page, module_, resource);
  replaceColourTokens(page, colours);
  return page;
}

void chooseTemplates(HtmlCreator& creator, PageSettings& settings) {
  for (std::size_t i = 0; i < kTemplateSlotCount; ++i) {
    const auto slot = static_cast<TemplateSlot>(i);
    creator.chooseTemplate(slot, settings.templatePath(slot));
    settings.templatePath(slot) = creator.templatePath(slot);
  }
}

void replaceColourTokens(TextLines& page, const PageColours& colours) {
  // "<$clnormalbg$>" first: "<$clnormal$>" is no part of it, but the order is kept.
  page.replaceAll(u"<$clnormalbg$>", colours.normalBackground);
  page.replaceAll(u"<$clnormal$>", colours.normal);
  page.replaceAll(u"<$clcurrent$>", colours.current);
  page.replaceAll(u"<$clselectedbg$>", colours.selectedBackground);
}

}  // namespace tunora
