// Control ids of the SecurityPage template.
#pragma once
