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

std::string RegistryForm(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

// What the system's reader says of the type library in `path`, in the portable reader's terms.
platform::TypeLibraryInfo SystemAnswer(const std::wstring& path) {
  ITypeLib* library = nullptr;
  TLIBATTR* attributes = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library)) || FAILED(library->GetLibAttr(&attributes))) return {};
  platform::TypeLibraryInfo info{RegistryForm(attributes->guid), attributes->wMajorVerNum, attributes->wMinorVerNum,
                                 attributes->lcid, {}};
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ITypeInfo* type = nullptr;
    TYPEATTR* a = nullptr;
    if (FAILED(library->GetTypeInfo(i, &type)) || FAILED(type->GetTypeAttr(&a))) continue;
    if (a->typekind == TKIND_COCLASS && (a->wTypeFlags & TYPEFLAG_FCANCREATE)) info.creatable_classes.push_back(RegistryForm(a->guid));
    type->ReleaseTypeAttr(a);
    type->Release();
  }
  library->ReleaseTLibAttr(attributes);
  library->Release();
  return info;
}

TEST(TypeLibraryComparison, ThePortableReaderAnswersAsTheSystemDoes) {
  for (const std::string path : {"stand-ins\\probe-32.dll", "stand-ins\\probe-64.dll"}) {
    std::ifstream in(path, std::ios::binary);
    const auto image = platform::ReadComponentImage(std::string(std::istreambuf_iterator<char>(in), {}));
    const auto ours = image ? platform::ReadTypeLibrary(image->type_library) : std::nullopt;
    const platform::TypeLibraryInfo system = SystemAnswer(std::wstring(path.begin(), path.end()));
    ASSERT_TRUE(ours && !system.libid.empty()) << path;
    EXPECT_EQ(std::tie(ours->libid, ours->major, ours->minor, ours->lcid, ours->creatable_classes),
              std::tie(system.libid, system.major, system.minor, system.lcid, system.creatable_classes)) << path;
  }
}

}  // namespace
