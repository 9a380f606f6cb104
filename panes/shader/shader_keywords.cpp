#include "panes/shader/shader_keywords.h"

namespace veltrace {

namespace {

struct KeywordList {
  const char* words;
  TextColour colour;
  KeywordGroup group;
};

constexpr KeywordList sharedList{"add,mov,mul,mad,dp3,dp4,sub,nop", editorColour::instruction, instructionGroup};

constexpr KeywordList vertexLists[] = {
    {"vs.1.0,vs.1.1,dst,exp,lit,logp,max,min,rcp,rsq,sge,slt", editorColour::instruction, instructionGroup},
    {"expp,frc,log,m3x2,m3x3,m3x4,m4x3,m4x4", editorColour::instruction, instructionGroup},
    {"v0,v1,v2,v3,v4,v5,v6,v7,v8,v9,v10,v11,v12,v13,v14,v15", editorColour::inputRegister, inputGroup},
    {"oPos,oD0,oD1,oPts,oFog,oT0,oT1,oT2,oT3,oT4,oT5", editorColour::outputRegister, outputGroup},
};

constexpr KeywordList pixelLists[] = {
    {"ps.1.0,ps.1.1,ps.1.2,ps.1.3,def,bem,cmp,cnd,lrp,+add,+bem,+cmp,+cnd,+dp3,+dp4,+lrp,+mad,+mov,+mul,+nop,"
     "+sub,add_x2,add_x4,add_d2,add_sat,dp3_x2,dp3_x4,dp3_d2,dp3_sat,dp4_x2,dp4_x4,dp4_d2,dp4_sat,mul_x2,mul_x4,"
     "mul_d2,mul_sat,mad_x2,mad_x4,mad_d2,mad_sat,sub_x2,sub_x4,sub_d2,sub_sat,tex,texbem,texbeml,texcoord,texdp3,"
     "texdp3tex,texkill,texm3x2depth,texm3x2pad,texm3x2tex,texreg2ar,texreg2gb,texreg2rgb,texm3x3,texm3x3pad,"
     "texm3x3spec,texm3x3tex,texm3x3vspec",
     editorColour::instruction, instructionGroup},
    {"v0,v1,v0_bias,v1_bias,1-v0,1-v1,-v0,-v1,v0_bx2,v1_bx2", editorColour::inputRegister, inputGroup},
    {"r0,R0", editorColour::outputRegister, outputGroup},
    {".rgb,.a", editorColour::instruction, instructionGroup},
};

constexpr KeywordList pixel14Lists[] = {
    {"ps.1.4,texcrd,texld,texdepth,phase,add_d4,add_d8,add_x8,dp3_d4,dp3_d8,dp3_x8,dp4_d4,dp4_d8,dp4_x8,mul_d4,"
     "mul_d8,mul_x8,mad_d4,mad_d8,mad_x8,sub_d4,sub_d8,sub_x8,v0_x2,v1_x2",
     editorColour::instruction, instructionGroup},
    {".rgba,.r,.g,.b,.rg,.rga,.rb,.rba,.ra,.gb,.ga,.ba", editorColour::instruction, instructionGroup},
};

// The device framework records the version from a fixed table, so 1.4 is
// exactly the float 1.4f.
constexpr float pixelShaderVersion14 = 1.4f;

void add(SyntaxHighlighter& highlighter, const KeywordList& list) {
  highlighter.AddKeywordList(list.words, list.colour, list.group);
}

}  // namespace

void setUpShaderKeywords(SyntaxHighlighter& highlighter, ShaderPaneKind kind, float pixelShaderVersion) {
  highlighter.clearKeywords();
  add(highlighter, sharedList);
  highlighter.setCommentColour(editorColour::comment);
  highlighter.setStringColour(editorColour::literal);
  if (kind == ShaderPaneKind::vertex) {
    for (const KeywordList& list : vertexLists) add(highlighter, list);
    return;
  }
  for (const KeywordList& list : pixelLists) add(highlighter, list);
  if (pixelShaderVersion == pixelShaderVersion14)
    for (const KeywordList& list : pixel14Lists) add(highlighter, list);
}

}  // namespace veltrace
