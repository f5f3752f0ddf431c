#include "framework/stage/CueListener.h"

CueListener::~CueListener() = default;

void CueListener::Cue(CastMember* /*member*/, int /*cue*/, int /*value*/) {}
