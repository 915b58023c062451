// Mud (thixotropic) flow: the wall friction of the mud layer and the damping
// of its velocities by the yield ratio and flow state of the damping routines.
#pragma once

// Friction of the resting bottom cell on the cell above it in every column of
// the last layer block (LayerMark 1), with the viscosity of F 338.
void wall_thixo();

// Stops or slows the velocities of the mud block's cells that do not yield,
// by the rule of F 289's fourth value (1..7).
void ThixoVelDamp();

// The block of the mud layer the velocity damping treats: block 1 when it is
// marked as a layer, else block 2 when that one is, else 0.
int velocityDampingBlock();

// The last block of 1..NoBlocks with LayerMark exactly 1, 0 when none.
int slideLayerBlock();
