#pragma once
// The program-wide owner of device textures: loads a file once, shares it by
// file name with a use count, falls back to a default texture with one
// message-log line per missing name, and keeps the total texture memory.
//
// The store itself is portable; a TextureLoader turns files into device
// textures (Direct3D 8 on Windows, a fake in the tests).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/message_log.h"

namespace veltrace {

// A device texture, opaque to the portable code.
struct DeviceTexture;

struct LoadedTexture {
  DeviceTexture* texture = nullptr;
  std::uint32_t bytes = 0;  // size of all its mip levels
  // The top level, as the Textures pane shows it.
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t topLevelBytes = 0;
};

class TextureLoader {
 public:
  virtual ~TextureLoader() = default;
  virtual std::optional<LoadedTexture> load(const std::string& path) = 0;
  virtual void release(DeviceTexture* texture) = 0;
  // Why the last load that failed did so, for the message log; empty when
  // the loader cannot tell.
  virtual std::string lastError() const { return {}; }
};

class TextureStore {
 public:
  static constexpr const char* defaultTextureName = "texture_not_found.bmp";

  struct Entry {
    std::string name;  // lookup key: file name without folder, case-sensitive
    std::string path;  // where it was loaded from
    std::int32_t useCount = 0;
    LoadedTexture texture;
  };

  TextureStore(TextureLoader& loader, MessageLog& log) : loader_(loader), log_(log) {}
  ~TextureStore() { releaseAll(); }
  TextureStore(const TextureStore&) = delete;
  TextureStore& operator=(const TextureStore&) = delete;

  // Paths that begin with one backslash are relative to the program folder;
  // two begin a network path, which is used as it is.
  void setProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
  // The texture folder; a trailing backslash is added unless there is one.
  void setFolder(std::string folder);
  const std::string& folder() const { return folder_; }

  // The texture for path, loaded on first use: from path itself, else from
  // the texture folder by name, else the default texture stored under the
  // missing name. Null when even the default cannot be loaded.
  DeviceTexture* acquire(const std::string& path);
  bool load(std::string name, const std::string& path);
  // Drops one use of the texture named by path's file name; false when no
  // such texture is loaded.
  bool release(const std::string& path);
  void releaseAll();

  // The loaded texture that path's file name refers to; nullptr when none is.
  const Entry* findByPath(const std::string& path) const;

  std::int32_t totalBytes() const { return totalBytes_; }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  Entry* find(const std::string& name);

  TextureLoader& loader_;
  MessageLog& log_;
  std::string programFolder_;
  std::string folder_;
  std::vector<Entry> entries_;
  std::int32_t totalBytes_ = 0;
};

}  // namespace veltrace
