// Broken and hostile files: each is refused with the file, the line and what was expected.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "host/dxf/dxf.h"

namespace {

std::string Load(const std::string& text) {
    std::string path = std::string(VORN_BINARY_DIR) + "/dxf_bad.dxf", error;
    std::ofstream(path, std::ios::binary) << text;
    EXPECT_FALSE(vorn::dxf::ReadDxfFile(path, error));
    return error;
}

const std::string kHead = "0\nSECTION\n2\nENTITIES\n";

TEST(DxfMalformed, EachFaultNamesItsLine) {
    EXPECT_NE(Load(kHead + "0\nLINE\n8\n0\n10\n").find(":9: the file ends here"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nLINE\nabc\n0\n").find(":7: expected a group code"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nLINE\n10\nnan\n0\nENDSEC\n0\nEOF\n").find("not finite"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nLINE\n10\n1e999\n0\nENDSEC\n0\nEOF\n").find("out of range"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nLWPOLYLINE\n90\n999999999999\n0\nENDSEC\n0\nEOF\n").find("vertices"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nINSERT\n2\nNOPE\n0\nENDSEC\n0\nEOF\n").find("never defines it"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nENDSEC\n").find("EOF marker"), std::string::npos);
    EXPECT_NE(Load(kHead + "0\nLINE\n7777\n1\n0\nENDSEC\n0\nEOF\n").find("not a valid group code"), std::string::npos);
}

TEST(DxfMalformed, BlockInsertingItselfIsRefused) {
    std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n0\nINSERT\n2\nA\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n";
    EXPECT_NE(Load(text).find("inserts itself"), std::string::npos);
}

}  // namespace
