// The Matterhorn from the east-north-east on a clear late-spring morning.
// Units are kilometres; x right, y up, z away from the camera; the summit
// stands above the origin. Height fields and colour maps come from
// matterhorn_terrain.py (run in the same folder).
//
// Two passes: the lit terrain on black, and with DEPTH=1 the distance from
// the camera (red, 1.0 = 100 km) and the coverage (green) for the haze and
// the sky that matterhorn_finish.py adds.
#version 3.7;
#include "fields.inc"
#ifndef (DEPTH) #declare DEPTH = 0; #end

global_settings {
  assumed_gamma 1.0
  max_trace_level 6
}

#declare CamPos = <0.0, 2.79, -7.0>;
// sun: azimuth 150 degrees (south-south-east), 33 degrees high
#declare SunDir = vnormalize(<sin(radians(150 - 240)) * cos(radians(33)), sin(radians(33)), cos(radians(150 - 240)) * cos(radians(33))>);

camera {
  perspective
  location CamPos
  look_at <-0.12, 3.58, 0.0>
  right x * 16 / 9
  angle 33
}

#if (DEPTH)
  #declare FieldTex = texture {
    pigment { onion color_map { [0 rgb <0, 1, 0>] [1 rgb <1, 1, 0>] } scale 100 translate CamPos }
    finish { ambient 0 emission 1 diffuse 0 }
  }
#else
  light_source { SunDir * 10000 color rgb <1.00, 0.95, 0.87> * 3.0 parallel point_at <0, 0, 0> }
  // sky light: soft, shadowless, bluish fill from above and from the shaded side
  light_source { <0, 10000, 0> color rgb <0.30, 0.42, 0.66> * 0.50 shadowless parallel point_at <0, 0, 0> }
  light_source { <8000, 3000, 6000> color rgb <0.30, 0.42, 0.66> * 0.28 shadowless parallel point_at <0, 0, 0> }
  light_source { <-8000, 2000, -6000> color rgb <0.45, 0.42, 0.38> * 0.12 shadowless parallel point_at <0, 0, 0> }
#end

#macro Field(Name, X0, X1, Z0, Z1)
  height_field {
    png concat(Name, "_h.png")
    smooth
    #if (!DEPTH)
      texture {
        pigment { image_map { png concat(Name, "_c.png") gamma 2.2 interpolate 2 } rotate x * 90 }
        finish { ambient 0 emission 0 diffuse 0.92 specular 0.05 roughness 0.08 }
      }
    #end
    scale <X1 - X0, FIELD_Y1 - FIELD_Y0, Z1 - Z0>
    translate <X0, FIELD_Y0, Z0>
    #if (DEPTH) texture { FieldTex } #end
  }
#end

Field("inner", INNER_X0, INNER_X1, INNER_Z0, INNER_Z1)
Field("outer", OUTER_X0, OUTER_X1, OUTER_Z0, OUTER_Z1)
