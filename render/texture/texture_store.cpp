#include "render/texture/texture_store.h"

#include "base/files.h"
#include "base/text.h"

namespace veltrace {

void TextureStore::setFolder(std::string folder) {
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  folder_ = std::move(folder);
}

TextureStore::Entry* TextureStore::find(const std::string& name) {
  for (auto& entry : entries_)
    if (entry.name == name) return &entry;
  return nullptr;
}

const TextureStore::Entry* TextureStore::findByPath(const std::string& path) const {
  const std::string name = namePart(path);
  for (const auto& entry : entries_)
    if (entry.name == name) return &entry;
  return nullptr;
}

DeviceTexture* TextureStore::acquire(const std::string& givenPath) {
  const std::string path = underProgramFolder(givenPath, programFolder_);
  const std::string name = namePart(path);
  if (Entry* entry = find(name)) {
    ++entry->useCount;
    return entry->texture.texture;
  }
  bool loaded = load(name, path);
  // Why the file the path names could not be loaded; the copy in the texture
  // folder is only a second chance.
  const std::string reason = loaded ? std::string() : loader_.lastError();
  loaded = loaded || load(name, folder_ + name);
  if (!loaded) {
    std::string line = formatText("Can't load texture \"%s\" - using default texture \"%s\" instead ...",
                                  name.c_str(), defaultTextureName);
    if (!reason.empty()) line += " (" + reason + ")";
    log_.append(std::move(line));
    loaded = load(name, folder_ + defaultTextureName);
  }
  return loaded ? entries_.back().texture.texture : nullptr;
}

bool TextureStore::load(std::string name, const std::string& path) {
  if (name.empty()) name = namePart(path);
  std::optional<LoadedTexture> texture = loader_.load(path);
  if (!texture) return false;
  totalBytes_ += static_cast<std::int32_t>(texture->bytes);
  entries_.push_back(Entry{std::move(name), path, 1, *texture});
  return true;
}

bool TextureStore::release(const std::string& path) {
  const std::string name = namePart(path);
  for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
    if (entry->name != name) continue;
    if (--entry->useCount <= 0) {
      totalBytes_ -= static_cast<std::int32_t>(entry->texture.bytes);
      loader_.release(entry->texture.texture);
      entries_.erase(entry);
    }
    return true;
  }
  return false;
}

void TextureStore::releaseAll() {
  for (auto& entry : entries_) loader_.release(entry.texture.texture);
  entries_.clear();
  totalBytes_ = 0;
}

}  // namespace veltrace
