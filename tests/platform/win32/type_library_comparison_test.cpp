// The portable type library reader against the system's own (LoadTypeLibEx, without registering)
// on the stand-in components of both bitnesses.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/component_image.h"

namespace {

std::string RegistryForm(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
                guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

// What the system's reader says of the type library in `path`, in the reader's terms.
platform::TypeLibraryInfo SystemAnswer(const std::wstring& path) {
  platform::TypeLibraryInfo info;
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) return info;
  TLIBATTR* attributes = nullptr;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    info.libid = RegistryForm(attributes->guid);
    info.major = attributes->wMajorVerNum, info.minor = attributes->wMinorVerNum, info.lcid = attributes->lcid;
    library->ReleaseTLibAttr(attributes);
  }
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ITypeInfo* type = nullptr;
    if (FAILED(library->GetTypeInfo(i, &type))) continue;
    TYPEATTR* type_attributes = nullptr;
    if (SUCCEEDED(type->GetTypeAttr(&type_attributes))) {
      if (type_attributes->typekind == TKIND_COCLASS && (type_attributes->wTypeFlags & TYPEFLAG_FCANCREATE)) {
        info.creatable_classes.push_back(RegistryForm(type_attributes->guid));
      }
      type->ReleaseTypeAttr(type_attributes);
    }
    type->Release();
  }
  library->Release();
  return info;
}

TEST(TypeLibraryComparisonTest, TheReaderAnswersAsTheSystemDoes) {
  for (const char* bits : {"32", "64"}) {
    const std::string path = std::string("stand-ins\\probe-") + bits + ".dll";
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto image = platform::ReadComponentImage(bytes);
    ASSERT_TRUE(image) << path;
    const auto ours = platform::ReadTypeLibrary(image->type_library);
    ASSERT_TRUE(ours) << path;
    const platform::TypeLibraryInfo system = SystemAnswer(std::wstring(path.begin(), path.end()));
    EXPECT_FALSE(system.libid.empty()) << path;
    EXPECT_EQ(ours->libid, system.libid) << path;
    EXPECT_EQ(std::make_tuple(ours->major, ours->minor, ours->lcid), std::make_tuple(system.major, system.minor, system.lcid)) << path;
    EXPECT_EQ(ours->creatable_classes, system.creatable_classes) << path;
  }
}

}  // namespace
