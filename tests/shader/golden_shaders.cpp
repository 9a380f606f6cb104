#include "tests/shader/golden_shaders.h"

#include <initializer_list>
#include <set>
#include <utility>

namespace veltrace::shader::test {

namespace {

constexpr std::uint32_t vs10 = 0xFFFE0100, vs11 = 0xFFFE0101;
constexpr std::uint32_t ps10 = 0xFFFF0100, ps11 = 0xFFFF0101, ps12 = 0xFFFF0102, ps13 = 0xFFFF0103,
                        ps14 = 0xFFFF0104;
constexpr std::uint32_t end = 0x0000FFFF;

std::vector<std::uint32_t> stream(std::uint32_t version, std::initializer_list<std::uint32_t> body) {
  std::vector<std::uint32_t> tokens{version};
  tokens.insert(tokens.end(), body);
  tokens.push_back(end);
  return tokens;
}

}  // namespace

const std::vector<GoldenShader>& goldenShaders() {
  static const std::vector<GoldenShader> shaders = {
      // --- vs.1.1 -------------------------------------------------------------
      {"vs11 mov to oPos", "vs.1.1\nmov oPos, v0\n", stream(vs11, {0x00000001, 0xC00F0000, 0x90E40000})},
      {"vs11 add", "vs.1.1\nadd r0, v0, c1\n", stream(vs11, {0x00000002, 0x800F0000, 0x90E40000, 0xA0E40001})},
      {"vs11 sub with negated constant", "vs.1.1\nmov r1, v1\nsub r0, r1, -c2\n",
       stream(vs11, {0x00000001, 0x800F0001, 0x90E40001, 0x00000003, 0x800F0000, 0x80E40001, 0xA1E40002})},
      {"vs11 mad reading v0 twice", "vs.1.1\nmad r0, v0, c0, v0\n",
       stream(vs11, {0x00000004, 0x800F0000, 0x90E40000, 0xA0E40000, 0x90E40000})},
      {"vs11 mul with mask and swizzles", "vs.1.1\nmul r0.xyz, v0.yzxw, c3.x\n",
       stream(vs11, {0x00000005, 0x80070000, 0x90C90000, 0xA0000003})},
      {"vs11 rcp and rsq", "vs.1.1\nrcp r0.x, v0.w\nrsq r0.y, v0.x\n",
       stream(vs11, {0x00000006, 0x80010000, 0x90FF0000, 0x00000007, 0x80020000, 0x90000000})},
      {"vs11 dp3 and dp4", "vs.1.1\ndp3 r0.x, v0, c0\ndp4 r0.y, v0, c1\n",
       stream(vs11, {0x00000008, 0x80010000, 0x90E40000, 0xA0E40000, 0x00000009, 0x80020000, 0x90E40000,
                     0xA0E40001})},
      {"vs11 min max slt sge", "vs.1.1\nmin r0, v0, c0\nmax r1, v0, c0\nslt r2, v0, c0\nsge r3, v0, c0\n",
       stream(vs11, {0x0000000A, 0x800F0000, 0x90E40000, 0xA0E40000, 0x0000000B, 0x800F0001, 0x90E40000,
                     0xA0E40000, 0x0000000C, 0x800F0002, 0x90E40000, 0xA0E40000, 0x0000000D, 0x800F0003,
                     0x90E40000, 0xA0E40000})},
      {"vs11 exp log expp logp", "vs.1.1\nexp r0, v0.x\nlog r1, v0.y\nexpp r2, v0.z\nlogp r3, v0.w\n",
       stream(vs11, {0x0000000E, 0x800F0000, 0x90000000, 0x0000000F, 0x800F0001, 0x90550000, 0x0000004E,
                     0x800F0002, 0x90AA0000, 0x0000004F, 0x800F0003, 0x90FF0000})},
      {"vs11 lit dst frc", "vs.1.1\nlit r0, v0\ndst r1, r0, c0\nfrc r2, v0\n",
       stream(vs11, {0x00000010, 0x800F0000, 0x90E40000, 0x00000011, 0x800F0001, 0x80E40000, 0xA0E40000,
                     0x00000013, 0x800F0002, 0x90E40000})},
      {"vs11 matrix macros",
       "vs.1.1\nm4x4 oPos, v0, c0\nm4x3 r0.xyz, v0, c4\nm3x4 r1, v1, c8\nm3x3 r2.xyz, v2, c12\nm3x2 r3.xy, v3, c16\n",
       stream(vs11, {0x00000014, 0xC00F0000, 0x90E40000, 0xA0E40000, 0x00000015, 0x80070000, 0x90E40000,
                     0xA0E40004, 0x00000016, 0x800F0001, 0x90E40001, 0xA0E40008, 0x00000017, 0x80070002,
                     0x90E40002, 0xA0E4000C, 0x00000018, 0x80030003, 0x90E40003, 0xA0E40010})},
      {"vs11 nop", "vs.1.1\nnop\n", stream(vs11, {0x00000000})},
      {"vs11 relative addressing", "vs.1.1\nmov a0.x, v0.x\nmov r0, c[a0.x + 5]\nmov oD0, c[a0.x]\n",
       stream(vs11, {0x00000001, 0xB0010000, 0x90000000, 0x00000001, 0x800F0000, 0xA0E42005, 0x00000001,
                     0xD00F0000, 0xA0E42000})},
      {"vs11 outputs", "vs.1.1\nmov oFog.x, v0.x\nmov oPts.x, v0.y\nmov oD1, v0\nmov oT0, v1\nmov oT7.xy, v2\n",
       stream(vs11, {0x00000001, 0xC0010001, 0x90000000, 0x00000001, 0xC0010002, 0x90550000, 0x00000001,
                     0xD00F0001, 0x90E40000, 0x00000001, 0xE00F0000, 0x90E40001, 0x00000001, 0xE0030007,
                     0x90E40002})},
      {"vs11 def", "vs.1.1\ndef c0, 1, 0, 0.5, -1\n",
       stream(vs11, {0x00000051, 0xA00F0000, 0x3F800000, 0x00000000, 0x3F000000, 0xBF800000})},
      {"vs11 upper case, underscores and comments",
       "VS_1_1 ; version\n// a line comment\nMOV oPOS, V0 /* a block\n comment */\nDp4 R0.X, v0, C[3] // last\n",
       stream(vs11, {0x00000001, 0xC00F0000, 0x90E40000, 0x00000009, 0x80010000, 0x90E40000, 0xA0E40003})},
      // --- vs.1.0 -------------------------------------------------------------
      {"vs10 transform", "vs.1.0\nm4x4 oPos, v0, c0\nmov oD0, c4\n",
       stream(vs10, {0x00000014, 0xC00F0000, 0x90E40000, 0xA0E40000, 0x00000001, 0xD00F0000, 0xA0E40004})},
      // --- ps.1.0 -------------------------------------------------------------
      {"ps10 tex and mov", "ps.1.0\ntex t0\nmov r0, t0\n",
       stream(ps10, {0x00000042, 0xB00F0000, 0x00000001, 0x800F0000, 0xB0E40000})},
      {"ps10 texm3x2", "ps.1.0\ntex t0\ntexm3x2pad t1, t0\ntexm3x2tex t2, t0\nmov r0, t2\n",
       stream(ps10, {0x00000042, 0xB00F0000, 0x00000047, 0xB00F0001, 0xB0E40000, 0x00000048, 0xB00F0002,
                     0xB0E40000, 0x00000001, 0x800F0000, 0xB0E40002})},
      // --- ps.1.1 -------------------------------------------------------------
      {"ps11 texcoord", "ps.1.1\ntexcoord t0\nmov r0, t0\n",
       stream(ps11, {0x00000040, 0xB00F0000, 0x00000001, 0x800F0000, 0xB0E40000})},
      {"ps11 texkill", "ps.1.1\ntexkill t0\nmov r0, v0\n",
       stream(ps11, {0x00000041, 0xB00F0000, 0x00000001, 0x800F0000, 0x90E40000})},
      {"ps11 texbem texbeml", "ps.1.1\ntex t0\ntexbem t1, t0\ntexbeml t2, t0\nmul r0, t1, t2\n",
       stream(ps11, {0x00000042, 0xB00F0000, 0x00000043, 0xB00F0001, 0xB0E40000, 0x00000044, 0xB00F0002,
                     0xB0E40000, 0x00000005, 0x800F0000, 0xB0E40001, 0xB0E40002})},
      {"ps11 texreg2ar texreg2gb", "ps.1.1\ntex t0\ntexreg2ar t1, t0\ntexreg2gb t2, t0\nadd r0, t1, t2\n",
       stream(ps11, {0x00000042, 0xB00F0000, 0x00000045, 0xB00F0001, 0xB0E40000, 0x00000046, 0xB00F0002,
                     0xB0E40000, 0x00000002, 0x800F0000, 0xB0E40001, 0xB0E40002})},
      {"ps11 texm3x2", "ps.1.1\ntex t0\ntexm3x2pad t1, t0_bx2\ntexm3x2tex t2, t0_bx2\nmov r0, t2\n",
       stream(ps11, {0x00000042, 0xB00F0000, 0x00000047, 0xB00F0001, 0xB4E40000, 0x00000048, 0xB00F0002,
                     0xB4E40000, 0x00000001, 0x800F0000, 0xB0E40002})},
      {"ps11 texm3x3tex", "ps.1.1\ntex t0\ntexm3x3pad t1, t0\ntexm3x3pad t2, t0\ntexm3x3tex t3, t0\nmov r0, t3\n",
       stream(ps11, {0x00000042, 0xB00F0000, 0x00000049, 0xB00F0001, 0xB0E40000, 0x00000049, 0xB00F0002,
                     0xB0E40000, 0x0000004A, 0xB00F0003, 0xB0E40000, 0x00000001, 0x800F0000, 0xB0E40003})},
      {"ps11 texm3x3spec", "ps.1.1\ntex t0\ntexm3x3pad t1, t0\ntexm3x3pad t2, t0\ntexm3x3spec t3, t0, c0\nmov r0, t3\n",
       stream(ps11, {0x00000042, 0xB00F0000, 0x00000049, 0xB00F0001, 0xB0E40000, 0x00000049, 0xB00F0002,
                     0xB0E40000, 0x0000004C, 0xB00F0003, 0xB0E40000, 0xA0E40000, 0x00000001, 0x800F0000,
                     0xB0E40003})},
      {"ps11 texm3x3vspec", "ps.1.1\ntex t0\ntexm3x3pad t1, t0\ntexm3x3pad t2, t0\ntexm3x3vspec t3, t0\nmov r0, t3\n",
       stream(ps11, {0x00000042, 0xB00F0000, 0x00000049, 0xB00F0001, 0xB0E40000, 0x00000049, 0xB00F0002,
                     0xB0E40000, 0x0000004D, 0xB00F0003, 0xB0E40000, 0x00000001, 0x800F0000, 0xB0E40003})},
      {"ps11 arithmetic",
       "ps.1.1\nmov r0, v0\nadd r0, r0, c0\nsub r1, v0, v1\nmul r0, r0, r1\nmad r0, r0, c0, v0\n"
       "dp3 r1, r0, c1\nlrp r0, c0, r0, r1\ncnd r0, r0.a, r1, c0\n",
       stream(ps11, {0x00000001, 0x800F0000, 0x90E40000, 0x00000002, 0x800F0000, 0x80E40000, 0xA0E40000,
                     0x00000003, 0x800F0001, 0x90E40000, 0x90E40001, 0x00000005, 0x800F0000, 0x80E40000,
                     0x80E40001, 0x00000004, 0x800F0000, 0x80E40000, 0xA0E40000, 0x90E40000, 0x00000008,
                     0x800F0001, 0x80E40000, 0xA0E40001, 0x00000012, 0x800F0000, 0xA0E40000, 0x80E40000,
                     0x80E40001, 0x00000050, 0x800F0000, 0x80FF0000, 0x80E40001, 0xA0E40000})},
      {"ps11 modifiers and co-issue", "ps.1.1\nmov r1, v0\nmul_x2 r0.rgb, r1_bx2, -c0_bias\n+add_sat r0.a, 1-r1.a, v1.b\n",
       stream(ps11, {0x00000001, 0x800F0001, 0x90E40000, 0x00000005, 0x81070000, 0x84E40001, 0xA3E40000,
                     0x40000002, 0x80180000, 0x86FF0001, 0x90AA0001})},
      {"ps11 scale modifiers", "ps.1.1\nmul_x4 r0, v0, v1\nmul_d2_sat r0, r0, -c0_bx2\n",
       stream(ps11, {0x00000005, 0x820F0000, 0x90E40000, 0x90E40001, 0x00000005, 0x8F1F0000, 0x80E40000,
                     0xA5E40000})},
      {"ps11 def", "ps.1.1\ndef c7, 0.25, -0.5, 1.0f, 0\nmov r0, c7\n",
       stream(ps11, {0x00000051, 0xA00F0007, 0x3E800000, 0xBF000000, 0x3F800000, 0x00000000, 0x00000001,
                     0x800F0000, 0xA0E40007})},
      {"ps11 nop", "ps.1.1\nnop\nmov r0, v0\n", stream(ps11, {0x00000000, 0x00000001, 0x800F0000, 0x90E40000})},
      // --- ps.1.2 -------------------------------------------------------------
      {"ps12 texdp3tex texreg2rgb", "ps.1.2\ntex t0\ntexdp3tex t1, t0\ntexreg2rgb t2, t0\nadd r0, t1, t2\n",
       stream(ps12, {0x00000042, 0xB00F0000, 0x00000053, 0xB00F0001, 0xB0E40000, 0x00000052, 0xB00F0002,
                     0xB0E40000, 0x00000002, 0x800F0000, 0xB0E40001, 0xB0E40002})},
      {"ps12 texdp3 texm3x3", "ps.1.2\ntex t0\ntexm3x3pad t1, t0\ntexm3x3pad t2, t0\ntexm3x3 t3, t0\nmov r0, t3\n",
       stream(ps12, {0x00000042, 0xB00F0000, 0x00000049, 0xB00F0001, 0xB0E40000, 0x00000049, 0xB00F0002,
                     0xB0E40000, 0x00000056, 0xB00F0003, 0xB0E40000, 0x00000001, 0x800F0000, 0xB0E40003})},
      {"ps12 texdp3", "ps.1.2\ntex t0\ntexdp3 t1, t0\nmov r0, t1\n",
       stream(ps12, {0x00000042, 0xB00F0000, 0x00000055, 0xB00F0001, 0xB0E40000, 0x00000001, 0x800F0000,
                     0xB0E40001})},
      {"ps12 signed texbem source", "ps.1.2\ntex t0\ntexbem t1, t0_bx2\nmov r0, t1\n",
       stream(ps12, {0x00000042, 0xB00F0000, 0x00000043, 0xB00F0001, 0xB4E40000, 0x00000001, 0x800F0000,
                     0xB0E40001})},
      {"ps12 cmp dp4", "ps.1.2\ncmp r0, v0, c0, c1\ndp4 r1, r0, c0\n",
       stream(ps12, {0x00000058, 0x800F0000, 0x90E40000, 0xA0E40000, 0xA0E40001, 0x00000009, 0x800F0001,
                     0x80E40000, 0xA0E40000})},
      // --- ps.1.3 -------------------------------------------------------------
      {"ps13 texm3x2depth", "ps.1.3\ntex t0\ntexm3x2pad t1, t0\ntexm3x2depth t2, t0\nmov r0, t0\n",
       stream(ps13, {0x00000042, 0xB00F0000, 0x00000047, 0xB00F0001, 0xB0E40000, 0x00000054, 0xB00F0002,
                     0xB0E40000, 0x00000001, 0x800F0000, 0xB0E40000})},
      // --- ps.1.4 -------------------------------------------------------------
      {"ps14 two phases", "ps.1.4\ntexld r0, t0\ntexcrd r1.rgb, t1\nphase\ntexld r2, r1\nmul r0, r0, r2\nadd r0, r0, v0\n",
       stream(ps14, {0x00000042, 0x800F0000, 0xB0E40000, 0x00000040, 0x80070001, 0xB0E40001, 0x0000FFFD,
                     0x00000042, 0x800F0002, 0x80E40001, 0x00000005, 0x800F0000, 0x80E40000, 0x80E40002,
                     0x00000002, 0x800F0000, 0x80E40000, 0x90E40000})},
      // _dz divides the coordinates a texld reads from a temporary register,
      // so in the second phase only.
      {"ps14 projective selectors",
       "ps.1.4\ntexcrd r1.rg, t1.xyw\ntexld r2, t2_dw.xyw\nphase\ntexld r0, r1_dz\nmov r0, r0\n",
       stream(ps14, {0x00000040, 0x80030001, 0xB0F40001, 0x00000042, 0x800F0002, 0xBAF40002, 0x0000FFFD,
                     0x00000042, 0x800F0000, 0x89E40001, 0x00000001, 0x800F0000, 0x80E40000})},
      {"ps14 xyz selectors", "ps.1.4\ntexcrd r0.rgb, t0.xyz\nphase\ntexld r1, r0_dz.xyz\nmul r0, r0, r1\n",
       stream(ps14, {0x00000040, 0x80070000, 0xB0A40000, 0x0000FFFD, 0x00000042, 0x800F0001, 0x89A40000,
                     0x00000005, 0x800F0000, 0x80E40000, 0x80E40001})},
      {"ps14 bem", "ps.1.4\ntexld r1, t1\nbem r1.rg, c0, r1\nphase\ntexld r0, r1\nmov r0, r0\n",
       stream(ps14, {0x00000042, 0x800F0001, 0xB0E40001, 0x00000059, 0x80030001, 0xA0E40000, 0x80E40001,
                     0x0000FFFD, 0x00000042, 0x800F0000, 0x80E40001, 0x00000001, 0x800F0000, 0x80E40000})},
      {"ps14 texdepth texkill", "ps.1.4\ntexcrd r5.rgb, t0\nphase\ntexdepth r5\ntexkill t1\nmov r0, v0\n",
       stream(ps14, {0x00000040, 0x80070005, 0xB0E40000, 0x0000FFFD, 0x00000057, 0x800F0005, 0x00000041,
                     0xB00F0001, 0x00000001, 0x800F0000, 0x90E40000})},
      {"ps14 arithmetic",
       "ps.1.4\ndef c0, 1, 0, 0, 1\ntexld r0, t0\nnop\nsub r1, r0, c0\ndp3 r2, r0, c0\ndp4 r3, r0, c0\n"
       "lrp r4, c0, r0, r1\ncnd r5, r0, r1, r2\ncmp r0, r0, r1, r2\n",
       stream(ps14, {0x00000051, 0xA00F0000, 0x3F800000, 0x00000000, 0x00000000, 0x3F800000, 0x00000042,
                     0x800F0000, 0xB0E40000, 0x00000000, 0x00000003, 0x800F0001, 0x80E40000, 0xA0E40000,
                     0x00000008, 0x800F0002, 0x80E40000, 0xA0E40000, 0x00000009, 0x800F0003, 0x80E40000,
                     0xA0E40000, 0x00000012, 0x800F0004, 0xA0E40000, 0x80E40000, 0x80E40001, 0x00000050,
                     0x800F0005, 0x80E40000, 0x80E40001, 0x80E40002, 0x00000058, 0x800F0000, 0x80E40000,
                     0x80E40001, 0x80E40002})},
      {"ps14 modifiers and co-issue",
       "ps.1.4\ntexld r0, t0\nmul_x8 r0, r0_x2, c0\nmad_d8_sat r1, -r0_x2, c1.r, r0.g\nmul_d4 r2.rg, r0, c0.b\n"
       "+mov r2.a, c0.a\n",
       stream(ps14, {0x00000042, 0x800F0000, 0xB0E40000, 0x00000005, 0x830F0000, 0x87E40000, 0xA0E40000,
                     0x00000004, 0x8D1F0001, 0x88E40000, 0xA0000001, 0x80550000, 0x00000005, 0x8E030002,
                     0x80E40000, 0xA0AA0000, 0x40000001, 0x80080002, 0xA0FF0000})},
  };
  return shaders;
}

namespace {

struct VersionFamily {
  std::string from;  // version line of the hand-written shaders
  std::vector<std::pair<std::string, std::uint32_t>> to;
};

// Hand-written shaders that do not carry over, with the reason.
const std::set<std::pair<std::string, std::string>> notCarriedOver = {
    {"vs11 relative addressing", "vs.1.0"},     // a0 came with vs.1.1
    {"ps11 modifiers and co-issue", "ps.1.0"},  // the .b replicate came with ps.1.1
    {"ps11 texm3x2", "ps.1.0"},                 // _bx2 on texture sources came with ps.1.1
};

}  // namespace

const std::vector<GoldenShader>& goldenShadersInEveryVersion() {
  static const std::vector<GoldenShader> shaders = [] {
    const std::vector<VersionFamily> families = {
        {"vs.1.1", {{"vs.1.0", vs10}}},
        {"ps.1.1", {{"ps.1.0", ps10}, {"ps.1.2", ps12}, {"ps.1.3", ps13}}},
        {"ps.1.2", {{"ps.1.3", ps13}}},
    };
    std::vector<GoldenShader> all = goldenShaders();
    for (const GoldenShader& golden : goldenShaders()) {
      for (const VersionFamily& family : families) {
        if (golden.source.compare(0, family.from.size(), family.from) != 0) continue;
        for (const auto& [version, token] : family.to) {
          if (notCarriedOver.count({golden.name, version})) continue;
          GoldenShader copy{golden.name + " as " + version, version + golden.source.substr(family.from.size()),
                            golden.tokens};
          copy.tokens.front() = token;
          all.push_back(std::move(copy));
        }
      }
    }
    return all;
  }();
  return shaders;
}

}  // namespace veltrace::shader::test
