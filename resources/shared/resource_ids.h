// Resource and control ids shared by both programs and their resource scripts.
#pragma once

#define IDR_RULES_DATA 114
