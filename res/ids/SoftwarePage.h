// Control ids of the SoftwarePage template.
#pragma once
